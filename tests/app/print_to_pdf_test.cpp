// SPDX-License-Identifier: GPL-3.0-or-later
// `qzm836 --print-to-pdf`, end to end: the real program in a portable folder
// of its own, without a display, read back with pdftotext.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>

#include "radio/data_file.h"
#include "radio/file_header.h"
#include "radio/radio_image.h"

namespace qzm {
namespace {

struct ProgramRun {
    int exitCode = -1;
    QString errors;
};

class PrintToPdfTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.isValid());
        const std::filesystem::path program = std::filesystem::path(QZM_TEST_PROGRAM_DIR);
        const std::filesystem::path shipped = std::filesystem::path(QZM_TEST_SOURCE_DIR) / "res";
        std::filesystem::copy_file(program / "qzm836", dir() / "qzm836");
        for (const char* name : {"setting.ini", "english.lang", "chinese.lang"}) {
            std::filesystem::copy_file(shipped / name, dir() / name);
        }
    }

    std::filesystem::path dir() const { return temp_.path().toStdString(); }
    QString path(const char* name) const { return QString::fromStdString((dir() / name).string()); }

    void chooseLanguage(const std::string& language) const {
        QFile settings(path("setting.ini"));
        ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(settings.readAll());
        settings.close();
        text.replace("language=\n", QString::fromStdString("language=" + language + "\n"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
        settings.write(text.toUtf8());
    }

    // Channels 1, 5 and 16 programmed, the beep on.
    QString writeRadioFile(const char* name) const {
        FileHeader header;
        header.writeMagic();
        RadioImage image = RadioImage::fresh();
        for (const int n : {1, 5, 16}) {
            image.setFrequencyText(n, ChannelSide::Receive, "446.00625");
            image.setFrequencyText(n, ChannelSide::Transmit, "446.00625");
        }
        image.setBeepEnabled(1);
        const std::vector<std::uint8_t> bytes = encodeDataFile(header, image);
        std::ofstream(dir() / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path(name);
    }

    // The program with no display at all.
    ProgramRun run(const QStringList& arguments) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(name);
        }
        environment.insert("HOME", temp_.path());
        environment.insert("XDG_CONFIG_HOME", temp_.path() + "/config");
        process.setProcessEnvironment(environment);
        process.start(path("qzm836"), arguments);
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished(5000);
            return {};
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardError())};
    }

    static QString tool(const char* name, const QStringList& arguments) {
        QProcess process;
        process.start(QString::fromLatin1(name), arguments);
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished(5000);
            ADD_FAILURE() << name << " did not finish";
            return {};
        }
        EXPECT_EQ(process.exitCode(), 0) << name << " (poppler-utils) must be installed";
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    static bool oneLine(const QString& errors) {
        return errors.endsWith('\n') && errors.count('\n') == 1 && errors.startsWith("qzm836: ");
    }

    QTemporaryDir temp_;
};

TEST_F(PrintToPdfTest, EnglishCardHasDateSettingsAndTheThreeChannels) {
    chooseLanguage("english");
    const QString pdf = path("card.pdf");
    const ProgramRun result = run({"--print-to-pdf", pdf, writeRadioFile("radio.836")});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_TRUE(result.errors.isEmpty());

    const QString text = tool("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(text.contains(QRegularExpression(
        "\\d{4}-\\d\\d-\\d\\d (Monday|Tuesday|Wednesday|Thursday|Friday|Saturday|Sunday) "
        "\\d\\d:\\d\\d")))
        << text.toStdString();
    for (const char* expected : {"Beep : Yes", "DTMF code : ", "Squelch level : ", "Side key 2 : ",
                                 "FM radio frequency : ", "VOX : "}) {
        EXPECT_TRUE(text.contains(expected)) << expected;
    }
    // Exactly the three programmed channels, in order.
    const QStringList rows = text.split('\n').filter("446.00625");
    ASSERT_EQ(rows.size(), 3) << text.toStdString();
    EXPECT_TRUE(rows[0].trimmed().startsWith("1 "));
    EXPECT_TRUE(rows[1].trimmed().startsWith("5 "));
    EXPECT_TRUE(rows[2].trimmed().startsWith("16 "));
    EXPECT_FALSE(text.contains("Not Found"));
    EXPECT_TRUE(tool("pdffonts", {pdf}).contains("LiberationSerif"));
}

TEST_F(PrintToPdfTest, ChineseCardPrintsChineseInACjkFace) {
    chooseLanguage("chinese");
    const QString pdf = path("card-zh.pdf");
    const ProgramRun result = run({"--print-to-pdf", pdf, writeRadioFile("radio.836")});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();

    const QString text = tool("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(text.contains(
        QRegularExpression("\\d{4}-\\d\\d-\\d\\d 星期[一二三四五六日] \\d\\d:\\d\\d")))
        << text.toStdString();
    for (const char* expected : {"哔音 : 是", "静噪等级 : ", "侧键2 : ", "收音机频率 : "}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_EQ(text.split('\n').filter("446.00625").size(), 3);
    const QString fonts = tool("pdffonts", {pdf});
    EXPECT_TRUE(fonts.contains("WenQuanYi", Qt::CaseInsensitive)) << fonts.toStdString();
}

TEST_F(PrintToPdfTest, WithoutDataFileANewDocumentIsPrinted) {
    const QString pdf = path("new.pdf");
    const ProgramRun result = run({"--print-to-pdf", pdf});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    const QString text = tool("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(text.contains("Squelch level : ") || text.contains(QString::fromUtf8("静噪等级")));
    EXPECT_TRUE(text.split('\n').filter("446.00625").isEmpty());
}

TEST_F(PrintToPdfTest, FailuresExitNonZeroWithOneLine) {
    chooseLanguage("english");
    std::ofstream(dir() / "junk.836") << "not a radio image";
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* mentions;
    };
    const Case cases[] = {
        {{"--print-to-pdf", path("a.pdf"), path("junk.836")}, 1, "junk.836"},
        {{"--print-to-pdf", path("b.pdf"), path("missing.836")}, 1, "missing.836"},
        {{"--print-to-pdf", path("no-folder/c.pdf")}, 3, "no-folder/c.pdf"},
        {{"--print-to-pdf"}, 2, "usage"},
        {{"--print-to-pdf", path("d.pdf"), path("radio.836"), "extra"}, 2, "usage"},
    };
    writeRadioFile("radio.836");
    for (const Case& c : cases) {
        const ProgramRun result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(oneLine(result.errors)) << result.errors.toStdString();
        EXPECT_TRUE(result.errors.contains(c.mentions)) << result.errors.toStdString();
    }
    for (const char* name : {"a.pdf", "b.pdf", "d.pdf"}) {
        EXPECT_FALSE(std::filesystem::exists(dir() / name)) << name;
    }
}

}  // namespace
}  // namespace qzm
