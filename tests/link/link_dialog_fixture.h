// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The application on a program folder of its own, its port numbers mapped
// through section [ports] to emulated radios on pseudo-terminals (or to paths
// where no device is), so the dialogs run against the real serial code.

#include <QLabel>
#include <QTest>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "app_fixture.h"
#include "emulated_radio.h"
#include "lang/text_lookup.h"
#include "link/qt/transfer_dialog.h"
#include "platform/program_paths.h"
#include "platform/settings.h"
#include "radio/zavo_doc.h"
#include "radio_emulator.h"
#include "safety/settings_transfer_safety.h"

namespace qzm::test {

inline constexpr const char* kPromptRead = "Reading from the radio";
inline constexpr const char* kReadFailed = "Reading failed.";
inline constexpr const char* kNoAnswer = "The radio does not answer.";
inline constexpr const char* kWrongModel = "Not our radio.";

class LinkDialogTest : public AppTest {
  protected:
    // Starts the application with these [setup] lines and port devices.
    void startWith(const std::string& setup, const std::map<int, std::string>& ports) {
        // A busy machine may answer late; the dialog's waits are not what is tested here.
        setAnswerTimeoutScaleForTests(3);
        writePorts(setup, ports);
        writeEnglish(std::string("IDS_READDATA=Read from Radio\n"
                                 "IDS_WRITEDATA=Write to Radio\n"
                                 "IDS_PROMPT_READ=") +
                     kPromptRead +
                     "\nIDS_PROMPT_WRITE=Writing to the radio\n"
                     "IDS_PROMPT_READFAIL=" +
                     kReadFailed +
                     "\nIDS_PROMPT_WRITEFAIL=Writing failed.\n"
                     "IDS_SEARCHCOMPORT=Searching\nIDS_ERROR=Error\n"
                     "IDS_ERROR_PORTCONN=" +
                     kNoAnswer + "\nIDS_ERROR_TYPE=" + kWrongModel + "\n");
        ASSERT_TRUE(start());
    }
    void writePorts(const std::string& setup, const std::map<int, std::string>& ports) const {
        std::string text = "[setup]\nlanguage=english\n" + setup + "\n[ports]\n";
        for (const auto& [number, device] : ports) {
            text += "COM" + std::to_string(number) + "=" + device + "\n";
        }
        writeSettings(text);
    }
    // A path where no device is.
    std::string nowhere(int number) const {
        return file("no-device-" + std::to_string(number)).string();
    }

    std::unique_ptr<sim::RadioEmulator> radio(sim::EmulatorConfig config) {
        auto emulator = std::make_unique<sim::RadioEmulator>(std::move(config));
        std::string error;
        EXPECT_TRUE(emulator->start(error)) << error;
        return emulator;
    }
    static sim::EmulatorConfig fast(const RadioImage& image = RadioImage::fresh()) {
        return fastRadio(image);
    }

    std::unique_ptr<TransferDialog> transferDialog(int direction) {
        // Each dialog keeps its own, for as long as the test runs.
        safeties_.push_back(
            std::make_unique<SettingsTransferSafety>(settingsPath(), currentLanguageTexts()));
        auto dialog = std::make_unique<TransferDialog>(app(), *app().document(), app().sharedPort(),
                                                       settingsPath(), direction, *safeties_.back(),
                                                       app().mainFrame());
        dialog->show();
        return dialog;
    }
    static bool waitClosed(const QWidget& dialog, int timeoutMs = 60000) {
        return QTest::qWaitFor([&] { return !dialog.isVisible(); }, timeoutMs);
    }
    QString portPane() { return app().mainFrame()->portPane()->text(); }
    int storedPort() { return readComPort(settingsPath()); }

  private:
    std::vector<std::unique_ptr<SettingsTransferSafety>> safeties_;
};

}  // namespace qzm::test
