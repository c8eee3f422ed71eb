// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "test_files.h"
#include "cli_runner.h"
#include "radio/radio_image.h"

namespace qzm::test {

// A folder with a settings file and a language file of the test's own, and
// helpers to run qzm836-cli against them.
class CliTest : public ::testing::Test {
  protected:
    CliTest() {
        // The radio's answers may come late on a busy machine; see main.cpp.
        ::setenv("QZM_TEST_ANSWER_TIMEOUT_SCALE", "3", 1);
        writeFile(dir_ / "setting.ini",
                  "[setup]\nlanguage=testlang\nsearchcom=0\n"
                  "[ModelInfo]\nFreq0=245-246\nFreq1=470-490\nFreq2=490-512\n"
                  "Freq3=400-470\nFreq4=136-174\nFreq5=136-470\nFreq6=136-470 B\n");
        writeFile(dir_ / "testlang.lang",
                  "[String]\nIDS_OFF=Off\nIDS_YES=Yes\nIDS_NO=No\nIDS_WIDE=Wide\n"
                  "IDS_NARROW=Narrow\nIDS_HIGH=High\nIDS_LOW=Low\n"
                  "IDS_WARN_LOAD=This is not a radio data file.\n"
                  "IDS_ERROR_PORTCONN=No radio answered.\nIDS_ERROR_TYPE=Wrong radio type.\n"
                  "IDS_PROMPT_READ=Reading\nIDS_PROMPT_WRITE=Writing\n"
                  "IDS_PROMPT_READFAIL=Reading failed.\nIDS_PROMPT_WRITEFAIL=Writing failed.\n"
                  "IDS_SEARCHCOMPORT=Searching\n"
                  "[Resource]\n1031=Squelch\n1035=Time limit\n1024=Battery save\n"
                  "[ChText]\nIDS_ChText0=CH\nIDS_ChText1=RX\nIDS_ChText2=RX tone\n"
                  "IDS_ChText3=TX\nIDS_ChText4=TX tone\nIDS_ChText5=C5\nIDS_ChText6=Band\n"
                  "IDS_ChText7=Power\nIDS_ChText8=C8\nIDS_ChText9=C9\n"
                  "[VoiceAnnunciation]\n0=Chinese\n1=English\n"
                  "[MonitorKey]\n0=Monitor\n1=Scan\n2=Alarm\n3=Off\n"
                  "[ScanMode]\n0=Time\n1=Carrier\n");
    }

    std::string path(std::string_view name) const { return (dir_ / name).string(); }

    // qzm836-cli with this folder's settings.
    ProcessResult cli(std::vector<std::string> arguments, const std::string& input = {}) const {
        arguments.insert(arguments.begin(), {"--settings", path("setting.ini")});
        return runProcess(cliProgram(), arguments, input);
    }

    // A data file holding `image` under a valid header.
    void writeDocument(std::string_view name, const RadioImage& image) const {
        std::string data = "QZM-836 Radio Program data v1.04";
        data.append(16, '\0');
        data.append(reinterpret_cast<const char*>(image.bytes.data()), image.bytes.size());
        writeFile(dir_ / name, data);
    }

    RadioImage readDocument(std::string_view name) const {
        std::string data = readFile(dir_ / name);
        RadioImage image;
        EXPECT_EQ(data.size(), 48 + kImageSize) << name;
        if (data.size() == 48 + kImageSize) {
            std::copy(data.begin() + 48, data.end(), image.bytes.begin());
        }
        return image;
    }

    TempDir dir_;
};

}  // namespace qzm::test
