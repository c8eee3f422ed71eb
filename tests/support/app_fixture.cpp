// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_fixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "radio/data_file.h"
#include "radio/file_header.h"
#include "radio/radio_image.h"

namespace qzm::test {

AppTest::AppTest() {
    EXPECT_TRUE(temp_.isValid());
    if (const char* previous = std::getenv("XDG_DATA_HOME")) {
        previousDataHome_ = previous;
    }
    ::setenv("XDG_DATA_HOME", (dir() / "data").c_str(), 1);
}

AppTest::~AppTest() {
    app_.reset();
    if (previousDataHome_) {
        ::setenv("XDG_DATA_HOME", previousDataHome_->c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
}

std::filesystem::path AppTest::dir() const {
    return temp_.path().toStdString();
}

void AppTest::writeFile(const std::string& name, const std::string& text) const {
    std::ofstream out(file(name), std::ios::binary);
    out << text;
}

void AppTest::writeEnglish(const std::string& extraStrings,
                           const std::string& extraSections) const {
    writeFile("english.lang",
              std::string("[Face]\ndisp=English\n[String]\n") + "IDS_WINDOWNAME=" + kTitleEnglish +
                  "\n" + "IDS_WARN_CLEAR=" + kWarnClear + "\n" + "IDS_WARN_SAVE=" + kWarnSave +
                  "\n" + "IDS_WARN_LOAD=" + kWarnLoad + "\n" +
                  "IDS_WARN_LOAD_DAMAGED=" + kWarnLoadDamaged + "\n" +
                  "IDS_PROMPT=Prompt\n"
                  "IDS_TIP_57600=Make a new radio image\n"
                  "Menu_File=&File\nMenu_Program=&Program\n"
                  "Menu_Setting=&Settings\nMenu_Help=&Help\n"
                  "Menu_File_New=&New\\tCtrl+N\nMenu_App_About=&About\n" +
                  extraStrings + "[Resource]\n1=Okay\n2=\n" + extraSections);
}

void AppTest::writeGerman() const {
    writeFile("german.lang",
              "[Face]\ndisp=Deutsch\n[String]\nIDS_WINDOWNAME=Funkgeraet\n"
              "Menu_File=&Datei\nMenu_File_New=&Neu\n[Resource]\n1=Gut\n");
}

std::filesystem::path AppTest::writeDataFile(const std::string& name, std::uint8_t marker) const {
    FileHeader header;
    header.writeMagic();
    RadioImage image;
    image.bytes.fill(0xFF);
    image.bytes[0x3E0] = marker;
    EXPECT_TRUE(storeDataFile(file(name), header, image).ok()) << name;
    return file(name);
}

std::vector<std::uint8_t> AppTest::readBytes(const std::filesystem::path& path) const {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool AppTest::start(const QStringList& arguments) {
    AppOptions options;
    options.programDir = dir();
    options.recentFileStore = QString::fromStdString((dir() / "recent.ini").string());
    options.messageBox = &messages_;
    options.fileDialog = &dialogs_;
    options.backupChooser = &dialogs_;
    options.chineseLocale = false;
    app_ = std::make_unique<CZavoApp>(options);
    return app_->InitInstance(arguments);
}

void AppTest::restart(const QStringList& arguments) {
    app_.reset();
    ASSERT_TRUE(start(arguments));
}

}  // namespace qzm::test
