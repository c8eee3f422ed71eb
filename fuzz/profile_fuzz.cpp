// SPDX-License-Identifier: GPL-3.0-or-later
// The profile reader and writer on arbitrary file bytes and names.
//
// Input: a parameter byte (buffer size), the lengths of a section, a key and a
// value, those three texts, then the file.  Besides the given names, the
// section and key names that occur in the file itself are looked up, so the
// fuzzer hits present keys without having to guess them.

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "platform/profile.h"
#include "platform/utf8_text.h"

namespace {

using qzm::fuzz::printable;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// A reader written separately from the real one, from the file held in memory:
// the two must agree on every lookup.
struct ModelLine {
    bool isSection = false;
    std::string name;
    std::string value;
};

// The reader keeps only the first 64 KiB of a line; so does the model.
constexpr std::size_t kKeptLineBytes = 64 * 1024;

std::vector<ModelLine> modelLines(std::string_view content) {
    std::vector<ModelLine> lines;
    std::size_t start = 0;
    bool first = true;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos) {
            end = content.size();
        }
        std::string_view raw = content.substr(start, std::min(end - start, kKeptLineBytes));
        start = end + 1;
        if (first && raw.starts_with("\xEF\xBB\xBF")) {
            raw.remove_prefix(3);
        }
        first = false;
        const std::string_view line = trimmed(raw);
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            const std::string_view inner = line.substr(1);
            lines.push_back({true, std::string(trimmed(inner.substr(0, inner.find(']')))), {}});
        } else if (const auto eq = line.find('='); eq != std::string_view::npos) {
            lines.push_back({false, std::string(trimmed(line.substr(0, eq))),
                             std::string(trimmed(line.substr(eq + 1)))});
        }
    }
    return lines;
}

std::optional<std::string> modelLookup(const std::vector<ModelLine>& lines,
                                       std::string_view section, std::string_view key) {
    std::size_t i = 0;
    while (i < lines.size() && !(lines[i].isSection && sameName(lines[i].name, section))) {
        ++i;
    }
    for (++i; i < lines.size() && !lines[i].isSection; ++i) {
        if (sameName(lines[i].name, key)) {
            return lines[i].value;
        }
    }
    return std::nullopt;
}

void checkLookup(const std::filesystem::path& file, const std::vector<ModelLine>& model,
                 const std::string& section, const std::string& key, std::size_t bufferSize) {
    const std::string where = printable(section) + " / " + printable(key);
    const auto value = qzm::readProfileValue(file, section, key);
    const auto expected = modelLookup(model, section, key);
    QZM_FUZZ_CHECK(value == expected, where + ": " + (value ? printable(*value) : "none") + " vs " +
                                          (expected ? printable(*expected) : "none"));

    const std::string fallback = "dflt\xE4\xB8\xAD";
    const std::string text = qzm::readProfileString(file, section, key, fallback, bufferSize);
    const std::string& source = value ? *value : fallback;
    QZM_FUZZ_CHECK(source.starts_with(text), where);
    if (bufferSize == 0) {
        QZM_FUZZ_CHECK(text.empty(), where);
    } else {
        QZM_FUZZ_CHECK(qzm::countCharacters(text) <= bufferSize - 1, where);
        // Cut only where the character count ran out, never inside a character.
        QZM_FUZZ_CHECK(text == qzm::cutToCharacters(source, qzm::countCharacters(text)), where);
        if (qzm::countCharacters(source) <= bufferSize - 1) {
            QZM_FUZZ_CHECK(text == source, where);
        }
    }

    const int number = qzm::readProfileInt(file, section, key, -7);
    const int expectedNumber = value ? qzm::parseLeadingInt(*value).value_or(-7) : -7;
    QZM_FUZZ_CHECK(number == expectedNumber, where);
}

// Writing one key must read back as written and must leave every other lookup
// as it was.
// The lines of a file without their line ends; a final unterminated line may
// gain one, so a trailing carriage return does not count.
std::vector<std::string_view> rawLines(std::string_view content) {
    std::vector<std::string_view> lines;
    while (!content.empty()) {
        const auto end = std::min(content.find('\n'), content.size());
        std::string_view line = content.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        content.remove_prefix(std::min(end + 1, content.size()));
    }
    return lines;
}

std::size_t commonSubsequenceLength(const std::vector<std::string_view>& a,
                                    const std::vector<std::string_view>& b) {
    std::vector<std::size_t> row(b.size() + 1, 0);
    for (const auto& line : a) {
        std::size_t diagonal = 0;
        for (std::size_t j = 0; j < b.size(); ++j) {
            const std::size_t above = row[j + 1];
            row[j + 1] = line == b[j] ? diagonal + 1 : std::max(row[j], above);
            diagonal = above;
        }
    }
    return row[b.size()];
}

void checkWrite(const std::filesystem::path& file, const std::string& section,
                const std::string& key, const std::string& value,
                const std::vector<std::pair<std::string, std::string>>& names) {
    const std::string old = qzm::fuzz::readWholeFile(file);
    std::vector<std::optional<std::string>> before;
    for (const auto& [s, k] : names) {
        before.push_back(qzm::readProfileValue(file, s, k));
    }
    if (!qzm::writeProfileString(file, section, key, value)) {
        // Refusals are for names and values that could not read back.
        const std::string_view k = trimmed(key);
        const bool refusable = section.find_first_of("\r\n]") != std::string::npos ||
                               key.find_first_of("\r\n=") != std::string::npos || k.empty() ||
                               k.front() == ';' || k.front() == '[' ||
                               value.find_first_of("\r\n") != std::string::npos;
        QZM_FUZZ_CHECK(refusable,
                       printable(section) + " / " + printable(key) + " = " + printable(value));
        return;
    }
    const auto back = qzm::readProfileValue(file, trimmed(section), trimmed(key));
    QZM_FUZZ_CHECK(back && *back == trimmed(value),
                   printable(section) + " / " + printable(key) + " = " + printable(value) +
                       " read " + (back ? printable(*back) : "none") + " from " +
                       printable(qzm::fuzz::readWholeFile(file)));
    // Every other line stays, in its order: at most the key's line is replaced,
    // and at most a blank line, a section header and the key are added.
    const std::string updated = qzm::fuzz::readWholeFile(file);
    const auto oldLines = rawLines(old);
    const auto newLines = rawLines(updated);
    QZM_FUZZ_CHECK(newLines.size() <= oldLines.size() + 3 &&
                       commonSubsequenceLength(oldLines, newLines) + 1 >= oldLines.size(),
                   printable(old) + " became " + printable(updated));
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto& [s, k] = names[i];
        if (sameName(trimmed(s), trimmed(section)) && sameName(trimmed(k), trimmed(key))) {
            continue;
        }
        QZM_FUZZ_CHECK(
            qzm::readProfileValue(file, s, k) == before[i],
            "writing " + printable(key) + " changed " + printable(s) + " / " + printable(k));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qzm::fuzz::InputReader in({data, size});
    const std::size_t bufferSize = in.byte() % 40;
    const std::size_t sectionLength = in.byte() % 24;
    const std::size_t keyLength = in.byte() % 24;
    const std::size_t valueLength = in.byte() % 24;
    const std::string section = in.text(sectionLength);
    const std::string key = in.text(keyLength);
    const std::string value = in.text(valueLength);
    const auto content = in.rest();

    const auto file = qzm::fuzz::scratchFolder() / "profile.ini";
    qzm::fuzz::writeScratchFile(file, content);
    const std::string contentText(reinterpret_cast<const char*>(content.data()), content.size());
    const auto model = modelLines(contentText);

    std::vector<std::pair<std::string, std::string>> names{{section, key}};
    std::string lastSection;
    for (const auto& line : model) {
        if (names.size() >= 12) {
            break;
        }
        if (line.isSection) {
            lastSection = line.name;
        } else {
            names.emplace_back(lastSection, line.name);
        }
    }
    for (const auto& [s, k] : names) {
        checkLookup(file, model, s, k, bufferSize);
    }
    checkWrite(file, section, key, value, names);
    return 0;
}

namespace qzm::fuzz {

std::vector<Bytes> edgeCases() {
    const std::string header{'\x10', '\x03', '\x03', '\x02'};
    std::vector<std::string> files = {
        "",
        "\xEF\xBB\xBF",
        "\xEF\xBB\xBF[sec]\r\nkey=1\r\n",
        "\xEF\xBB[sec]\nkey=2",
        "[sec",
        "[sec]key=3",
        "[ sec ]\n  key  =  4  \n",
        "[SEC]\nKEY=-2147483649\n",
        "[sec]\nkey=99999999999999999999\n",
        "[sec]\nkey=\n[sec]\nkey=5\n",
        "[sec]\n;key=6\nkey\n=7\nkey=8=9\n",
        "[other]\nkey=1\n[sec]\r\r\nkey=\xF0\x9F\x98\x80\xF0\x9F\x98\n",
        std::string("[sec]\nkey=a\0b\n", 14),
        "\n\n\n[sec]\n\n\nkey= \t\v\f\n",
    };
    std::vector<Bytes> cases;
    for (const auto& file : files) {
        cases.push_back(bytesOf(header + "seckeyv1" + file));
        cases.push_back(bytesOf(std::string{'\x00', '\x03', '\x03', '\x00'} + "seckey" + file));
    }
    // A line longer than the reader keeps.
    cases.push_back(bytesOf(header + "seckeyv1[sec]\nkey=" + std::string(70000, 'x') + "\n"));
    return cases;
}

}  // namespace qzm::fuzz
