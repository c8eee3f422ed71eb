// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "app/about_dialog.h"
#include "app/main_frame.h"
#include "app_fixture.h"
#include "lang/language_files.h"
#include "lang/qt/apply_resource_texts.h"
#include "lang/qt/language_dialog.h"
#include "platform/command_ids.h"
#include "platform/profile.h"
#include "platform/program_paths.h"
#include "platform/program_version.h"
#include "platform/qt/dialog_builder.h"

namespace qzm::test {
namespace {

class LanguageTest : public AppTest {
  protected:
    void SetUp() override {
        writeSettings("[setup]\nlanguage=english\n");
        writeEnglish();
        writeGerman();
        ASSERT_TRUE(start());
    }
    QString menuTitle(int position) {
        return app().mainFrame()->menuBar()->actions().at(position)->text();
    }
    QString itemText(int id) { return app().mainFrame()->menuAction(id)->text(); }
    void switchTo(const std::string& name) {
        ASSERT_TRUE(switchLanguage(file(name + ".lang")));
        app().refreshTextsAndViews();
    }
    std::string storedLanguage() {
        return readProfileString(file("setting.ini"), "setup", "language", "", 260);
    }
};

TEST_F(LanguageTest, NextLanguageStepsThroughTheFilesAndRetitlesEverything) {
    // With two files the step alternates, whichever the folder lists first.
    EXPECT_TRUE(app().mainFrame()->runCommand(ID_NEXT_LANGUAGE));
    EXPECT_EQ(languagePath(), file("german.lang"));
    EXPECT_EQ(storedLanguage(), "german");
    EXPECT_EQ(menuTitle(0), QString("&Datei"));
    EXPECT_EQ(app().mainFrame()->windowTitle(), QString("Funkgeraet"));
    app().mainFrame()->runCommand(ID_NEXT_LANGUAGE);
    EXPECT_EQ(languagePath(), file("english.lang"));
    EXPECT_EQ(storedLanguage(), "english");
}

TEST_F(LanguageTest, SwitchRetitlesMenuAndTitleAndMissingKeysReadNotFound) {
    switchTo("german");
    EXPECT_EQ(menuTitle(0), QString("&Datei"));
    EXPECT_EQ(menuTitle(1), QString("Not Found"));      // german has no Menu_Program
    EXPECT_EQ(itemText(ID_FILE_NEW), QString("&Neu"));  // the whole caption, no key hint
    EXPECT_EQ(itemText(ID_APP_ABOUT), QString("Not Found"));
    EXPECT_EQ(app().mainFrame()->windowTitle(), QString("Funkgeraet"));
    switchTo("english");
    EXPECT_EQ(menuTitle(0), QString("&File"));
    EXPECT_EQ(itemText(ID_FILE_NEW), QString("&New\tCtrl+N"));
    EXPECT_EQ(app().mainFrame()->windowTitle(), QString(kTitleEnglish));
}

TEST_F(LanguageTest, DialogListsDisplayNamesSelectsCurrentAndOkSwitches) {
    writeFile("nameless.lang", "[String]\nIDS_WINDOWNAME=x\n");
    writeFile("hidden.lang", "[Face]\ndisp=\n");
    // Stored in other letter case than the listing: still the current one.
    setLanguagePath(file("ENGLISH.LANG"));
    LanguageDialog dialog(app());
    auto* list = findControl<QComboBox>(&dialog, 1014);
    ASSERT_NE(list, nullptr);
    QStringList names;
    for (int i = 0; i < list->count(); ++i) {
        names << list->itemText(i);
    }
    EXPECT_EQ(names, (QStringList{"-----", "Deutsch", "English"}));  // sorted, empty name left out
    EXPECT_EQ(list->currentText(), QString("English"));

    list->setCurrentIndex(list->findText("Deutsch"));
    findControl<QPushButton>(&dialog, IDOK)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(languagePath(), file("german.lang"));
    EXPECT_EQ(storedLanguage(), "german");
    EXPECT_EQ(menuTitle(0), QString("&Datei"));
}

TEST_F(LanguageTest, DialogChoosesALanguageWhoseNameIsNotValidUtf8) {
    // Latin-1 bytes where UTF-8 is expected, and a lone continuation byte.
    writeFile("french.lang",
              "[Face]\ndisp=Fran\xE7"
              "ais\n[String]\nIDS_WINDOWNAME=Radio FR\n");
    writeFile("odd.lang", "[Face]\ndisp=\x80odd\n[String]\nIDS_WINDOWNAME=Odd\n");
    for (const auto& [name, title] : {std::pair{"french", "Radio FR"}, std::pair{"odd", "Odd"},
                                      std::pair{"french", "Radio FR"}}) {
        SCOPED_TRACE(name);
        switchTo("english");
        LanguageDialog dialog(app());
        auto* list = findControl<QComboBox>(&dialog, 1014);
        ASSERT_NE(list, nullptr);
        int entry = -1;
        for (int i = 0; i < list->count(); ++i) {
            const QString text = list->itemText(i);
            if (std::string(name) == "odd" ? text.endsWith("odd") : text.startsWith("Fran")) {
                entry = i;
            }
        }
        ASSERT_GE(entry, 0);
        list->setCurrentIndex(entry);
        findControl<QPushButton>(&dialog, IDOK)->click();
        EXPECT_EQ(languagePath(), file(std::string(name) + ".lang"));
        EXPECT_EQ(storedLanguage(), name);
        EXPECT_EQ(app().mainFrame()->windowTitle(), QString(title));

        // Opened again, the dialog selects it as the current language.
        LanguageDialog again(app());
        EXPECT_EQ(findControl<QComboBox>(&again, 1014)->currentIndex(), entry);
    }
}

TEST_F(LanguageTest, DialogCancelChangesNothing) {
    LanguageDialog dialog(app());
    auto* list = findControl<QComboBox>(&dialog, 1014);
    list->setCurrentIndex(list->findText("Deutsch"));
    findControl<QPushButton>(&dialog, IDCANCEL)->click();
    EXPECT_EQ(languagePath(), file("english.lang"));
    EXPECT_EQ(storedLanguage(), "english");
}

TEST_F(LanguageTest, ResourceKeyOneRetitlesOkEverywhereAndEmptyValuesChangeNothing) {
    // english.lang: 1=Okay, 2= (empty).
    LanguageDialog language(app());
    EXPECT_EQ(findControl<QPushButton>(&language, IDOK)->text(), QString("Okay"));
    EXPECT_EQ(findControl<QPushButton>(&language, IDCANCEL)->text(), QString("取消"));
    EXPECT_EQ(language.windowTitle(), QString("语言转换"));  // no key 131: template title
    AboutDialog about;
    EXPECT_EQ(findControl<QPushButton>(&about, IDOK)->text(), QString("Okay"));
    EXPECT_EQ(about.windowTitle(), QString("关于 Zavo"));

    switchTo("german");
    LanguageDialog again(app());
    EXPECT_EQ(findControl<QPushButton>(&again, IDOK)->text(), QString("Gut"));
}

TEST_F(LanguageTest, ApplyResourceTextsWalksEveryControlWithItsId) {
    writeEnglish({}, "131=Sprache\n1013=Sprache:\n1014=ignored by a list\n");
    QDialog dialog;
    const DialogTemplate sample{131,
                                "t",
                                {100, 40},
                                {
                                    {IDOK, ControlKind::PushButton, "a", {0, 0, 10, 10}},
                                    {1013, ControlKind::Label, "b", {0, 12, 10, 10}},
                                    {1014, ControlKind::DropDownList, "", {0, 24, 10, 30}},
                                    {1099, ControlKind::CheckBox, "kept", {20, 0, 10, 10}},
                                }};
    buildDialog(dialog, sample);
    applyResourceTexts(&dialog, 131);
    EXPECT_EQ(dialog.windowTitle(), QString("Sprache"));
    EXPECT_EQ(controlText(findControl(&dialog, IDOK)), QString("Okay"));
    EXPECT_EQ(controlText(findControl(&dialog, 1013)), QString("Sprache:"));
    EXPECT_EQ(controlText(findControl(&dialog, 1099)), QString("kept"));
    applyResourceTexts(nullptr, 131);  // harmless
}

TEST_F(LanguageTest, AboutBoxShowsVersionLine) {
    AboutDialog about;
    EXPECT_EQ(controlText(findControl(&about, 1051)), QString("QZM-5260 1.01"));
    // The second line names the build's version after the language file's text.
    EXPECT_TRUE(controlText(findControl(&about, 1052))
                    .endsWith(' ' + QString::fromUtf8(programVersion().data())));
    EXPECT_NE(findControl(&about, IDC_STATIC), nullptr);
    // The licence line comes from the language file and names the licence.
    EXPECT_TRUE(controlText(findControl(&about, 1053)).contains("GPL-3.0-or-later"));
}

}  // namespace
}  // namespace qzm::test
