// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/udev_rules.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <string>
#include <system_error>

namespace qzm {
namespace fs = std::filesystem;

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool switchedOff(const fs::path& file) {
    std::error_code error;
    if (fs::is_symlink(file, error) && fs::read_symlink(file, error) == "/dev/null") {
        return true;
    }
    return fs::is_regular_file(file, error) && fs::file_size(file, error) == 0;
}

bool namesId(const std::string& line, const UsbId& id) {
    return line.find(id.vendor) != std::string::npos && line.find(id.product) != std::string::npos;
}

}  // namespace

std::vector<fs::path> activeRuleFiles(const std::vector<fs::path>& dirs) {
    std::map<std::string, fs::path> byName;  // udev orders the files by name
    for (const fs::path& dir : dirs) {
        std::error_code error;
        for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (name.size() < 7 || name.substr(name.size() - 6) != ".rules") {
                continue;
            }
            byName.emplace(name, it->path());  // the first folder to have a name wins
        }
    }
    std::vector<fs::path> files;
    for (const auto& [name, path] : byName) {
        if (!switchedOff(path)) {
            files.push_back(path);
        }
    }
    return files;
}

fs::path findRuleFile(const std::vector<fs::path>& files, std::string_view word,
                      std::span<const UsbId> ids, bool orFileName) {
    const std::string needle = lowerCase(std::string(word));
    for (const fs::path& file : files) {
        bool hasWord =
            orFileName && lowerCase(file.filename().string()).find(needle) != std::string::npos;
        bool hasId = false;
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            const auto start = line.find_first_not_of(" \t");
            if (start == std::string::npos || line[start] == '#') {
                continue;
            }
            const std::string lower = lowerCase(line);
            hasWord = hasWord || lower.find(needle) != std::string::npos;
            hasId = hasId || std::any_of(ids.begin(), ids.end(),
                                         [&](const UsbId& id) { return namesId(lower, id); });
        }
        if (hasWord && hasId) {
            return file;
        }
    }
    return {};
}

}  // namespace qzm
