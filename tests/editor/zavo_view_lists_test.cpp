// SPDX-License-Identifier: GPL-3.0-or-later
// Lists whose entries come from the settings file and the language file.

#include "editor_fixture.h"

namespace qzm {
namespace {

using test::EditorTest;
using test::writeFile;

QStringList entries(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->itemText(i);
    }
    return texts;
}

TEST_F(EditorTest, NineBandNamesAndAChoiceBeyondTheBandTable) {
    writeFile(dir / "setting.ini",
              "[setup]\nlanguage=english\n[ModelInfo]\n"
              "Freq0=a\nFreq1=b\nFreq2=c\nFreq3=d\nFreq4=e\nFreq5=f\nFreq6=g\nFreq7=h\nFreq8=i\n"
              "Freq10=not read after the gap\n");
    initialUpdate();
    EXPECT_EQ(entries(list(IDC_BAND_LIST)),
              QStringList({"a", "b", "c", "d", "e", "f", "g", "h", "i"}));

    shell.messages.expect(MessageResult::Ok);
    pick(IDC_BAND_LIST, 7);
    // No band code for position 7: the image is emptied, the code stays 0xFF
    // and reads as band 3 with its defaults.
    EXPECT_EQ(image().bandCode(), 0xFF);
    EXPECT_EQ(document->bandIndex(), 3);
    EXPECT_EQ(document->bandUpper(), 47'000'000);
    EXPECT_EQ(image().squelchLevel(), 3);
    EXPECT_EQ(list(IDC_BAND_LIST)->currentIndex(), 3);
    EXPECT_TRUE(document->IsModified());
}

TEST_F(EditorTest, WithoutBandNamesTheBandListIsEmpty) {
    writeFile(dir / "setting.ini", "[setup]\nlanguage=english\n");
    initialUpdate();
    EXPECT_EQ(list(IDC_BAND_LIST)->count(), 0);
    EXPECT_EQ(list(IDC_BAND_LIST)->currentIndex(), -1);
}

TEST_F(EditorTest, LanguageListsEndAtTheFirstGapAndAreCut) {
    writeFile(dir / "test.lang",
              "[String]\nIDS_OFF=None\n"
              "[MonitorKey]\n0=Monitor\n1=123456789012345678901234567890xyz\n3=Alarm\n"
              "[ScanMode]\n0=\n1=Carrier\n");  // no VoiceAnnunciation at all
    setLanguagePath(dir / "test.lang");
    image().setSideKey1(2);
    image().setSideKey2(1);
    initialUpdate();

    const QStringList sideKeys{"Monitor", "12345678901234567890123456789"};
    EXPECT_EQ(entries(list(IDC_SIDE_KEY1)), sideKeys);
    EXPECT_EQ(entries(list(IDC_SIDE_KEY2)), sideKeys);
    EXPECT_EQ(list(IDC_VOICE_PROMPT)->count(), 0);
    EXPECT_EQ(list(IDC_SCAN_MODE)->count(), 0);  // an empty first entry ends the list
    EXPECT_EQ(list(IDC_TX_TIME_LIMIT)->itemText(0), "None");

    // A stored value the list has no entry for shows no entry and stays stored.
    EXPECT_EQ(list(IDC_SIDE_KEY1)->currentIndex(), -1);
    EXPECT_EQ(list(IDC_SIDE_KEY2)->currentIndex(), 1);
    EXPECT_EQ(image().bytes[0x3C2], 2);
    EXPECT_EQ(image().bytes[0x2B1], 1);
    pick(IDC_SQUELCH, 5);
    EXPECT_EQ(image().bytes[0x3C2], 2);

    // Until the user picks an entry.
    pick(IDC_SIDE_KEY1, 0);
    EXPECT_EQ(image().bytes[0x3C2], 0);
    EXPECT_EQ(list(IDC_SIDE_KEY1)->currentIndex(), 0);
}

TEST_F(EditorTest, MissingLanguageFileKeepsTheTemplateCaptions) {
    setLanguagePath(dir / "absent.lang");
    initialUpdate();
    EXPECT_EQ(shell.window.windowTitle(), "Not Found");
    EXPECT_EQ(shown(IDC_SQUELCH_LABEL), "静噪等级");
    EXPECT_EQ(shown(IDC_MODEL_GROUP), "机型信息");
    EXPECT_EQ(list(IDC_TX_TIME_LIMIT)->itemText(0), "Not Found");
    EXPECT_EQ(list(IDC_VOICE_PROMPT)->count(), 0);
    EXPECT_EQ(shown(IDC_SQUELCH), "3");  // fixed lists do not depend on the file
}

}  // namespace
}  // namespace qzm
