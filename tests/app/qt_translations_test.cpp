// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include "app/main_frame.h"
#include "app_fixture.h"
#include "lang/qt/qt_translations.h"
#include "platform/command_ids.h"
#include "platform/program_paths.h"

namespace qzm::test {
namespace {

// Qt posts the LanguageChange event to every window; it is handled here first.
QString cancelText(QDialogButtonBox& box) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    return box.button(QDialogButtonBox::Cancel)->text();
}

class QtTranslationsTest : public AppTest {
  protected:
    void SetUp() override {
        writeEnglish();
        const auto bytes = readBytes(file("english.lang"));
        const std::string english(bytes.begin(), bytes.end());
        const std::string face = "[Face]\ndisp=English\n";
        ASSERT_TRUE(english.starts_with(face));
        writeFile("english.lang", face + "locale=en_GB\n" + english.substr(face.size()));
        writeFile("chinese.lang", face + "locale=zh_CN\n" + english.substr(face.size()));
    }
};

TEST_F(QtTranslationsTest, StandardButtonsFollowTheLanguageFilesLocale) {
    writeSettings("[setup]\nlanguage=chinese\n");
    ASSERT_TRUE(start());
    // An open box retitles its standard buttons when the language changes.
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(cancelText(box), QString("取消"));

    app().mainFrame()->runCommand(ID_NEXT_LANGUAGE);
    ASSERT_EQ(languagePath().filename(), "english.lang");
    EXPECT_EQ(cancelText(box), QString("Cancel"));
    app().mainFrame()->runCommand(ID_NEXT_LANGUAGE);
    EXPECT_EQ(cancelText(box), QString("取消"));
}

TEST_F(QtTranslationsTest, FollowingTheSameLocaleAgainKeepsTheCatalogue) {
    QtTranslations translations;
    translations.follow(file("chinese.lang"));
    EXPECT_EQ(translations.localeName(), QString("zh_CN"));
    ASSERT_TRUE(translations.loaded());
    // A locale Qt has no catalogue for leaves its English texts.
    writeFile("klingon.lang", "[Face]\nlocale=tlh_XX\n");
    translations.follow(file("klingon.lang"));
    EXPECT_FALSE(translations.loaded());
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    EXPECT_EQ(cancelText(box), QString("Cancel"));
}

}  // namespace
}  // namespace qzm::test
