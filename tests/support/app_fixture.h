// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A program folder of its own for every test: "setting.ini", language files
// and data files in a temporary folder, and the application started on it
// with scripted message boxes and file dialogs.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/zavo_app.h"
#include "scripted_file_dialog.h"
#include "scripted_message_box.h"

namespace qzm::test {

// Texts of the test language files, so tests can recognise each question.
inline constexpr const char* kTitleEnglish = "Radio Tool";
inline constexpr const char* kWarnClear = "Clear everything?";
inline constexpr const char* kWarnSave = "Overwrite\\n";
inline constexpr const char* kWarnLoad = "Not a radio file";
inline constexpr const char* kWarnLoadDamaged = "A radio file, cut short";
inline constexpr const char* kAskSave = "Save changes to";

class AppTest : public ::testing::Test {
  protected:
    AppTest();
    ~AppTest() override;

    std::filesystem::path dir() const;
    std::filesystem::path file(const std::string& name) const { return dir() / name; }
    void writeFile(const std::string& name, const std::string& text) const;
    void writeSettings(const std::string& text) const { writeFile("setting.ini", text); }
    // A language file with every text the window and the document look up.
    void writeEnglish(const std::string& extraStrings = {},
                      const std::string& extraSections = {}) const;
    void writeGerman() const;
    // A data file whose image byte 0x3E0 (no field there) is `marker`.
    std::filesystem::path writeDataFile(const std::string& name, std::uint8_t marker) const;
    std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) const;

    // Starts the application; the settings and language files must exist.
    bool start(const QStringList& arguments = {});
    CZavoApp& app() { return *app_; }
    void restart(const QStringList& arguments = {});

    ScriptedMessageBox messages_;
    ScriptedFileDialog dialogs_;

  private:
    QTemporaryDir temp_;
    std::unique_ptr<CZavoApp> app_;
    // Backups go below the test's folder; the variable is put back afterwards.
    std::optional<std::string> previousDataHome_;
};

}  // namespace qzm::test
