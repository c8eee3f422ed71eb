// SPDX-License-Identifier: GPL-3.0-or-later
// The language lookups on an arbitrary language file: texts, resource captions,
// the display name, column titles and the list sections.  None may fail, and
// each stays within the length its control has room for.
//
// Input: the length of a key, the key, then the file.  The keys of the file's
// own String section are looked up too.

#include <string>
#include <vector>

#include "fuzz_support.h"
#include "lang/language_sections.h"
#include "lang/text_lookup.h"
#include "platform/profile.h"
#include "platform/utf8_text.h"

namespace {

using qzm::fuzz::printable;

void checkText(const std::filesystem::path& file, const std::string& key) {
    const std::string text = qzm::lookupTextIn(file, key);
    const auto stored = qzm::readProfileValue(file, qzm::kStringSection, key);
    if (!stored) {
        QZM_FUZZ_CHECK(text == qzm::kNotFoundText, printable(key) + " -> " + printable(text));
        return;
    }
    // Escapes only ever shorten the text.
    QZM_FUZZ_CHECK(qzm::countCharacters(text) <= qzm::kMaxStringCharacters, printable(key));
    QZM_FUZZ_CHECK(text.size() <= stored->size(), printable(key));
    QZM_FUZZ_CHECK(text.find("\\n") == std::string::npos && text.find("\\t") == std::string::npos,
                   printable(key) + " -> " + printable(text));
}

void checkSections(const std::filesystem::path& file, int resourceId) {
    const std::string caption = qzm::resourceTextIn(file, resourceId);
    QZM_FUZZ_CHECK(qzm::countCharacters(caption) <= qzm::kMaxResourceCharacters,
                   std::to_string(resourceId));

    const std::string name = qzm::languageDisplayName(file);
    QZM_FUZZ_CHECK(qzm::countCharacters(name) <= qzm::kMaxDisplayNameCharacters, printable(name));
    if (!qzm::readProfileValue(file, qzm::kFaceSection, qzm::kDisplayNameKey)) {
        QZM_FUZZ_CHECK(name == qzm::kNoDisplayName, printable(name));
    }

    const auto titles = qzm::columnTitles(file);
    bool anyTitle = false;
    for (const auto& title : titles) {
        QZM_FUZZ_CHECK(qzm::countCharacters(title) <= qzm::kMaxColumnTitleCharacters,
                       printable(title));
        // A column without a title of its own repeats the one before.
        QZM_FUZZ_CHECK(!anyTitle || !title.empty(), "a title after a title is empty");
        anyTitle = anyTitle || !title.empty();
    }

    for (const auto section :
         {qzm::kVoiceAnnunciationSection, qzm::kMonitorKeySection, qzm::kScanModeSection}) {
        const auto entries = qzm::languageList(file, section);
        QZM_FUZZ_CHECK(entries.size() <= qzm::kMaxLanguageListEntries, std::string(section));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            QZM_FUZZ_CHECK(!entries[i].empty(), std::string(section));
            QZM_FUZZ_CHECK(qzm::countCharacters(entries[i]) <= qzm::kMaxLanguageListCharacters,
                           printable(entries[i]));
        }
        // The list ends at the first missing or empty entry.
        const auto next = qzm::readProfileValue(file, section, std::to_string(entries.size()));
        QZM_FUZZ_CHECK(entries.size() == qzm::kMaxLanguageListEntries || !next || next->empty(),
                       std::string(section) + " ended early at " + std::to_string(entries.size()));
    }
}

// The keys of the String section, as far as a plain scan of the file finds them.
std::vector<std::string> stringKeys(std::string_view content) {
    std::vector<std::string> keys;
    bool inStrings = false;
    std::size_t start = 0;
    while (start < content.size() && keys.size() < 8) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos) {
            end = content.size();
        }
        const std::string_view line = content.substr(start, end - start);
        start = end + 1;
        if (line.starts_with('[')) {
            inStrings = line.starts_with("[String]");
        } else if (const auto eq = line.find('='); inStrings && eq != std::string_view::npos) {
            keys.emplace_back(line.substr(0, eq));
        }
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qzm::fuzz::InputReader in({data, size});
    const int resourceId = 1000 + in.byte();
    const std::string key = in.text(in.byte() % 32);
    const auto content = in.rest();
    const auto file = qzm::fuzz::scratchFolder() / "fuzz.lang";
    qzm::fuzz::writeScratchFile(file, content);

    checkText(file, key);
    for (const auto& k :
         stringKeys({reinterpret_cast<const char*>(content.data()), content.size()})) {
        checkText(file, k);
    }
    checkSections(file, resourceId);
    return 0;
}

namespace qzm::fuzz {

std::vector<Bytes> edgeCases() {
    const std::string files[] = {
        "",
        "[String]\nIDS_A=\\\\n\\\\t\\n\\t\\\n",
        "[String]\nIDS_A=" + std::string(1200, 'x') + "\\n\n",
        "[String]\nIDS_A=" + std::string(998, 'x') + "\\n\n",
        "[String]\nIDS_A=" + std::string(997, 'x') + "\xE4\xB8\xAD\xE4\xB8\xAD\n",
        "[Face]\ndisp=\n",
        "[Face]\ndisp=" + std::string(150, 'y') + "\n",
        "[ChText]\nIDS_ChText3=C\nIDS_ChText0=\nIDS_ChText9=" + std::string(40, 'z') + "\n",
        "[ScanMode]\n0=a\n1=\n2=c\n[MonitorKey]\n1=b\n[VoiceAnnunciation]\n0=" +
            std::string(30, '\xE4') + "\n",
        "[Resource]\n1000=caption\\n\n1001=" + std::string(1100, 'r') + "\n",
    };
    std::vector<Bytes> cases;
    for (const auto& file : files) {
        cases.push_back(bytesOf(std::string{'\x00', '\x05'} + "IDS_A" + file));
        cases.push_back(bytesOf(std::string{'\x01', '\x00'} + file));
    }
    std::string longList = "[ScanMode]\n";
    for (int i = 0; i < 300; ++i) {
        longList += std::to_string(i) + "=e\n";
    }
    cases.push_back(bytesOf(std::string{'\x00', '\x00'} + longList));
    return cases;
}

}  // namespace qzm::fuzz
