// SPDX-License-Identifier: GPL-3.0-or-later
// check_layers: reads every #include of the given folders and reports each one
// that goes against src/layers.txt as "file:line: ...".  Exit 0 when there is none,
// 1 when there is, 2 when it cannot do its work.
//
//   check_layers <repository root> <layers file> <folder>...
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "layer_rules.h"

namespace fs = std::filesystem;
using qzm::layering::LayerRules;
using qzm::layering::Place;

namespace {

bool isSourceFile(const fs::path& path) {
    const std::string extension = path.extension().string();
    return extension == ".h" || extension == ".cpp";
}

std::vector<fs::path> sourceFiles(const fs::path& root, const std::vector<std::string>& folders) {
    std::vector<fs::path> files;
    for (const std::string& folder : folders) {
        std::error_code error;
        for (fs::recursive_directory_iterator it(root / folder, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_regular_file() && isSourceFile(it->path())) {
                files.push_back(it->path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Checks one file; returns the number of refused includes.
int checkFile(const LayerRules& rules, const fs::path& root, const fs::path& file) {
    const std::string relative = fs::relative(file, root).generic_string();
    const std::optional<Place> from = rules.placeOfFile(relative);
    if (!from) {
        return 0;
    }
    static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::ifstream in(file);
    std::string line;
    int number = 0;
    int refused = 0;
    while (std::getline(in, line)) {
        ++number;
        std::smatch match;
        if (!std::regex_search(line, match, includeLine)) {
            continue;
        }
        const std::string include = match[2];
        std::string why;
        if (match[1] == "<") {
            if (!from->qt && qzm::layering::isQtHeader(include)) {
                why = "std-only code includes the Qt header <" + include + ">";
            }
        } else if (const std::optional<Place> to = rules.placeOfInclude(include)) {
            why = rules.refusal(*from, *to);
        }
        if (!why.empty()) {
            std::printf("%s:%d: includes \"%s\": %s\n", relative.c_str(), number, include.c_str(),
                        why.c_str());
            ++refused;
        }
    }
    return refused;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: check_layers <root> <layers file> <folder>...\n");
        return 2;
    }
    const fs::path root = argv[1];
    std::ifstream layersFile(argv[2]);
    std::stringstream text;
    text << layersFile.rdbuf();
    std::string error;
    const std::optional<LayerRules> rules = LayerRules::parse(text.str(), error);
    if (!layersFile || !rules) {
        std::fprintf(stderr, "check_layers: %s: %s\n", argv[2],
                     layersFile ? error.c_str() : "cannot be read");
        return 2;
    }
    const std::vector<std::string> folders(argv + 3, argv + argc);
    const std::vector<fs::path> files = sourceFiles(root, folders);
    if (files.empty()) {
        std::fprintf(stderr, "check_layers: no source files under the given folders\n");
        return 2;
    }
    int refused = 0;
    for (const fs::path& file : files) {
        refused += checkFile(*rules, root, file);
    }
    std::printf("%zu files, %d includes against the layers\n", files.size(), refused);
    return refused == 0 ? 0 : 1;
}
