// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Shared by the fuzz targets and by the replay program that runs them over the
// checked-in corpus in the ordinary test build.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace qzm::fuzz {

using Bytes = std::vector<std::uint8_t>;

// Inputs the target wants tried on every replay besides the corpus files:
// boundaries that a random corpus would rarely hit.
std::vector<Bytes> edgeCases();

// Ends the process with a message when a property does not hold, so libFuzzer
// keeps the input and the replay test fails.
[[noreturn]] void fail(const char* file, int line, const char* what, std::string_view detail);

#define QZM_FUZZ_CHECK(condition, detail)                                \
    do {                                                                 \
        if (!(condition)) {                                              \
            ::qzm::fuzz::fail(__FILE__, __LINE__, #condition, (detail)); \
        }                                                                \
    } while (false)

// A scratch folder for this process, on a memory file system when there is one,
// removed when the process ends.
const std::filesystem::path& scratchFolder();

// Replaces `file` with exactly `bytes`.
void writeScratchFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);
std::string readWholeFile(const std::filesystem::path& file);

// Splits the front of a fuzz input into small parameters and leaves the rest.
class InputReader {
  public:
    explicit InputReader(std::span<const std::uint8_t> input) : rest_(input) {}

    std::uint8_t byte() {
        if (rest_.empty()) {
            return 0;
        }
        const std::uint8_t b = rest_.front();
        rest_ = rest_.subspan(1);
        return b;
    }
    // The next `length` bytes (fewer at the end) as text.
    std::string text(std::size_t length) {
        const std::size_t n = std::min(length, rest_.size());
        std::string out(reinterpret_cast<const char*>(rest_.data()), n);
        rest_ = rest_.subspan(n);
        return out;
    }
    std::span<const std::uint8_t> rest() const { return rest_; }

  private:
    std::span<const std::uint8_t> rest_;
};

inline Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// Printable form of a text for failure messages.
std::string printable(std::string_view text);

}  // namespace qzm::fuzz
