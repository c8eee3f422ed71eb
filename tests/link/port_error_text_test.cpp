// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_error_text.h"

#include <gtest/gtest.h>

#include "lang/text_lookup.h"
#include "platform/program_paths.h"
#include "test_files.h"

namespace qzm::test {
namespace {

class PortErrorTextTest : public ::testing::Test {
  protected:
    void SetUp() override { saved_ = languagePath(); }
    void TearDown() override { setLanguagePath(saved_); }
    void useLanguage(const std::string& strings) {
        writeFile(folder_ / "test.lang", "[String]\n" + strings);
        setLanguagePath(folder_ / "test.lang");
    }

  private:
    TempFolder folder_;
    std::filesystem::path saved_;
};

TEST_F(PortErrorTextTest, LanguageTextWinsAndAMissingOrEmptyKeyFallsBackToEnglish) {
    useLanguage(
        "IDS_PORT_DENIED=Zugriff verweigert\nIDS_PORT_INUSE=\nIDS_PORT_NODEVICE=kein Geraet\n");
    EXPECT_EQ(portOpenErrorText(PortOpenError::PermissionDenied, currentLanguageTexts()),
              "Zugriff verweigert");
    const struct {
        PortOpenError error;
        const char* startOfEnglish;
    } fallbacks[] = {
        {PortOpenError::InUse, "in use"},
        {PortOpenError::NotFound, "not found"},
        {PortOpenError::NoHardware, "no hardware"},
        {PortOpenError::Other, "the port cannot be opened"},
    };
    for (const auto& c : fallbacks) {
        EXPECT_EQ(portOpenErrorText(c.error, currentLanguageTexts()).rfind(c.startOfEnglish, 0), 0u)
            << c.startOfEnglish;
    }
    EXPECT_EQ(portOpenErrorText(PortOpenError::None, currentLanguageTexts()), "");
    EXPECT_EQ(noDeviceText(currentLanguageTexts()), "kein Geraet");
}

}  // namespace
}  // namespace qzm::test
