// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target over its seed corpus, over shortened copies of every seed
// and over the target's own edge cases, so the ordinary test build checks the
// same properties the fuzzer does.  A property that fails aborts the program.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_support.h"

namespace {

using qzm::fuzz::Bytes;

Bytes readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void run(const Bytes& input) {
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

// Truncated files are the commonest damage: every short prefix, every prefix
// near the end, and a spread in between.
std::size_t runPrefixes(const Bytes& seed) {
    std::size_t runs = 0;
    const std::size_t n = seed.size();
    for (std::size_t length = 0; length < n; ++length) {
        const bool nearStart = length < 64;
        const bool nearEnd = length + 64 >= n;
        if (nearStart || nearEnd || length % 61 == 0) {
            run(Bytes(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(length)));
            ++runs;
        }
    }
    return runs;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        if (entry.is_regular_file()) {
            seeds.push_back(entry.path());
        }
    }
    std::sort(seeds.begin(), seeds.end());
    if (seeds.empty()) {
        std::fprintf(stderr, "no seeds in %s\n", argv[1]);
        return 1;
    }
    std::size_t runs = 0;
    for (const Bytes& input : qzm::fuzz::edgeCases()) {
        run(input);
        ++runs;
    }
    for (const auto& seed : seeds) {
        const Bytes input = readBytes(seed);
        run(input);
        runs += 1 + runPrefixes(input);
    }
    std::printf("%zu seeds, %zu inputs, all properties held\n", seeds.size(), runs);
    return 0;
}
