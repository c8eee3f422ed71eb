// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace qzm::fuzz {

void fail(const char* file, int line, const char* what, std::string_view detail) {
    std::fprintf(stderr, "%s:%d: property failed: %s\n  %.*s\n", file, line, what,
                 static_cast<int>(detail.size()), detail.data());
    std::fflush(stderr);
    std::abort();
}

namespace {

std::filesystem::path makeScratchFolder() {
    std::error_code ec;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, ec)) {
        base = std::filesystem::temp_directory_path(ec);
    }
    std::string pattern = (base / "qzm-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        fail(__FILE__, __LINE__, "mkdtemp", pattern);
    }
    return pattern;
}

struct ScratchFolder {
    std::filesystem::path path = makeScratchFolder();
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

const std::filesystem::path& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path;
}

void writeScratchFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        fail(__FILE__, __LINE__, "write scratch file", file.string());
    }
}

std::string readWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string printable(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '\\' && c != '"') {
            out += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
            out += escaped;
        }
    }
    return out + "\"";
}

}  // namespace qzm::fuzz
