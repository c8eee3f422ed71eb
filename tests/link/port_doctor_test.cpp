// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_doctor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <set>

#include "lang/known_keys.h"
#include "lang/text_lookup.h"
#include "link/cable_adapters.h"
#include "link/doctor_report_text.h"
#include "pty_pair.h"
#include "test_files.h"

namespace qzm {
namespace {

namespace fs = std::filesystem;

constexpr int kSelf = 999;

// The owner of the files a test makes.
std::string ownerName() {
    return ::getuid() == 0 ? "root" : "keeper";
}

// A system with one CH340 cable at /dev/ttyUSB0, group-owned by "dialout" (the test's
// own group id, the only one a file here can have), and a user "alice" who is not the
// owner.  Each case changes a little of it.
class FakeSystem {
  public:
    FakeSystem() : roots(DoctorRoots::under(folder.path())) {
        test::writeFile(roots.dev / "ttyUSB0", "");
        ::chmod((roots.dev / "ttyUSB0").c_str(), 0660);
        fs::create_directories(roots.dev / "serial" / "by-id");
        fs::create_symlink("../../ttyUSB0", byId());
        const fs::path usb = roots.sys / "devices" / "usb1" / "1-1";
        const fs::path tty = usb / "1-1:1.0" / "ttyUSB0";
        fs::create_directories(tty);
        test::writeFile(usb / "idVendor", "1a86\n");
        test::writeFile(usb / "idProduct", "7523\n");
        test::writeFile(usb / "product", "USB Serial\n");
        fs::create_directories(roots.sys / "class" / "tty" / "ttyUSB0");
        fs::create_symlink(tty, roots.sys / "class" / "tty" / "ttyUSB0" / "device");
        fs::create_directories(roots.proc);
        passwd = "root:x:0:0::/root:/bin/sh\nkeeper:x:" + std::to_string(::getuid()) +
                 ":0::/:/bin/sh\nalice:x:4242:4242::/home/alice:/bin/sh\n";
        if (::getuid() == 0) {
            passwd.erase(passwd.find("keeper"), passwd.find("alice") - passwd.find("keeper"));
        }
        groupLine = "dialout:x:" + std::to_string(::getgid()) + ":";
        settings = "[setup]\ncom=1\n";
        user.uid = 4242;
        user.gid = 4242;
        user.name = "alice";
        user.sessionGroups = {4242, static_cast<unsigned>(::getgid())};
    }

    DoctorReport run() {
        test::writeFile(roots.etc / "passwd", passwd);
        test::writeFile(roots.etc / "group", "alice:x:4242:\n" + groupLine + "\n");
        test::writeFile(folder / "setting.ini", settings);
        return diagnoseConnection(folder / "setting.ini", roots, user, kSelf);
    }

    fs::path byId() const {
        return roots.dev / "serial" / "by-id" / "usb-1a86_USB_Serial-if00-port0";
    }
    fs::path device() const { return roots.dev / "ttyUSB0"; }
    void process(int pid, const std::string& name, const fs::path& open = {}) {
        const fs::path dir = roots.proc / std::to_string(pid);
        test::writeFile(dir / "comm", name + "\n");
        fs::create_directories(dir / "fd");
        fs::create_symlink("/dev/null", dir / "fd" / "0");
        if (!open.empty()) {
            fs::create_symlink(open, dir / "fd" / "7");
        }
    }
    void rule(const fs::path& dir, const std::string& name, const std::string& text) {
        test::writeFile(dir / name, text);
    }
    void brlttyInstalled() { test::writeFile(roots.programs[0] / "brltty", ""); }

    test::TempFolder folder;
    DoctorRoots roots;
    UserIdentity user;
    std::string passwd;
    std::string groupLine;
    std::string settings;
};

using Finder = std::function<std::vector<Finding>(const DoctorReport&)>;

std::vector<Finding> portFindings(const DoctorReport& report, int number) {
    for (const PortFindings& port : report.ports) {
        if (port.number == number) {
            return port.findings;
        }
    }
    return {};
}

bool contains(const std::vector<Finding>& findings, const Finding& wanted) {
    return std::find(findings.begin(), findings.end(), wanted) != findings.end();
}

bool containsKey(const std::vector<Finding>& findings, std::string_view key) {
    return std::any_of(findings.begin(), findings.end(),
                       [&](const Finding& f) { return f.key == key; });
}

constexpr auto Fine = FindingLevel::Fine;
constexpr auto Note = FindingLevel::Note;
constexpr auto Problem = FindingLevel::Problem;

TEST(PortDoctor, FindingsOnFakeSystems) {
    struct Case {
        const char* name;
        std::function<void(FakeSystem&)> setup;
        int port;                         // 0: the general findings
        Finding expected;                 // none when its key is empty
        const char* absentKey = nullptr;  // a finding that must not be there
    };
    const Case cases[] = {
        {"in the group in this session",
         [](FakeSystem& s) { s.groupLine += "bob,alice"; },
         1,
         {Fine, "IDS_DOCTOR_ACCESS", {}},
         "IDS_DOCTOR_RELOGIN"},
        {"added to the group but the session predates it",
         [](FakeSystem& s) {
             s.groupLine += "alice";
             s.user.sessionGroups = {4242};
         },
         1,
         {Problem, "IDS_DOCTOR_RELOGIN", {"dialout"}}},
        {"not in the group at all",
         [](FakeSystem& s) { s.user.sessionGroups = {4242}; },
         1,
         {Problem, "IDS_DOCTOR_NOTINGROUP", {"dialout", "alice"}}},
        {"the group may not write",
         [](FakeSystem& s) { ::chmod(s.device().c_str(), 0640); },
         1,
         {Problem, "IDS_DOCTOR_DENIED", {ownerName(), "70-qzm836.rules"}}},
        {"everyone may open it",
         [](FakeSystem& s) {
             ::chmod(s.device().c_str(), 0666);
             s.user.sessionGroups = {4242};
         },
         1,
         {Fine, "IDS_DOCTOR_ACCESS", {}}},
        {"root may open anything",
         [](FakeSystem& s) {
             ::chmod(s.device().c_str(), 0600);
             s.user.uid = 0;
         },
         1,
         {Fine, "IDS_DOCTOR_ACCESS", {}}},
        {"owner, group and mode",
         [](FakeSystem&) {},
         1,
         {Note, "IDS_DOCTOR_OWNER", {ownerName(), "dialout", "-rw-rw----"}}},
        {"the chosen port is marked", [](FakeSystem&) {}, 1, {Note, "IDS_DOCTOR_CHOSEN", {}}},
        {"another program holds it open",
         [](FakeSystem& s) {
             s.process(321, "minicom", s.device());
             s.process(kSelf, "qzm836", s.device());  // ourselves: never reported
         },
         1,
         {Problem, "IDS_DOCTOR_INUSE", {"minicom", "321"}}},
        {"held through its stable name",
         [](FakeSystem& s) { s.process(77, "screen", s.byId()); },
         1,
         {Problem, "IDS_DOCTOR_INUSE", {"screen", "77"}},
         "IDS_DOCTOR_FREE"},
        {"processes of other users cannot be looked into",
         [](FakeSystem& s) {
             s.process(5, "bash");
             test::writeFile(s.roots.proc / "6" / "comm", "sshd\n");
             test::writeFile(s.roots.proc / "6" / "fd", "");  // unreadable, as for root's
         },
         1,
         {Note, "IDS_DOCTOR_FREE_OWN", {}},
         "IDS_DOCTOR_FREE"},
        {"nobody holds it",
         [](FakeSystem& s) { s.process(5, "bash"); },
         1,
         {Fine, "IDS_DOCTOR_FREE", {}}},
        {"the stable name is suggested",
         [](FakeSystem&) {},
         1,
         {Note, "IDS_DOCTOR_BYID", {"", "1"}}},
        {"the stable name is already used",
         [](FakeSystem& s) { s.settings += "[ports]\nCOM1=" + s.byId().string() + "\n"; },
         1,
         {Fine, "IDS_DOCTOR_STABLE", {"1"}},
         "IDS_DOCTOR_BYID"},
        {"a configured device that is missing",
         [](FakeSystem& s) { s.settings += "[ports]\nCOM3=ttyUSB9\n"; },
         3,
         {Problem, "IDS_DOCTOR_MISSING_SET", {"", "3"}}},
        {"the chosen port has no device",
         [](FakeSystem& s) { s.settings = "[setup]\ncom=4\n"; },
         0,
         {Problem, "IDS_DOCTOR_CHOSEN_NONE", {"4"}}},
        {"no serial device at all",
         [](FakeSystem& s) { fs::remove(s.device()); },
         0,
         {Problem, "IDS_DOCTOR_NOPORTS", {}}},
        {"brltty with a rule for the CH340",
         [](FakeSystem& s) {
             s.brlttyInstalled();
             s.rule(s.roots.udevRules[3], "85-brltty.rules",
                    "# braille displays\nENV{PRODUCT}==\"1a86/7523/*\", "
                    "ENV{BRLTTY_BRAILLE_DRIVER}=\"bm\", GOTO=\"brltty_usb_run\"\n");
         },
         0,
         {Problem, "IDS_DOCTOR_BRLTTY", {""}}},
        {"brltty's rule switched off in /etc",
         [](FakeSystem& s) {
             s.brlttyInstalled();
             s.rule(s.roots.udevRules[3], "85-brltty.rules", "ENV{PRODUCT}==\"10c4/ea60/*\"\n");
             fs::create_directories(s.roots.udevRules[0]);
             fs::create_symlink("/dev/null", s.roots.udevRules[0] / "85-brltty.rules");
         },
         0,
         {},
         "IDS_DOCTOR_BRLTTY"},
        {"brltty's rules without the program",
         [](FakeSystem& s) {
             s.rule(s.roots.udevRules[2], "85-brltty.rules", "ENV{PRODUCT}==\"1a86/7523/*\"\n");
         },
         0,
         {},
         "IDS_DOCTOR_BRLTTY"},
        {"ModemManager without our rule",
         [](FakeSystem& s) {
             s.process(812, "ModemManager");
             s.rule(s.roots.udevRules[2], "60-qzm836.rules",
                    "# ATTRS{idVendor}==\"1a86\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n");
         },
         0,
         {Problem, "IDS_DOCTOR_MODEMMANAGER", {"70-qzm836.rules"}}},
        {"ModemManager with our rule",
         [](FakeSystem& s) {
             s.process(812, "ModemManager");
             s.rule(s.roots.udevRules[3], "60-qzm836.rules",
                    "SUBSYSTEM!=\"tty\", GOTO=\"qzm836_end\"\n"
                    "ATTRS{idVendor}==\"10c4\", ATTRS{idProduct}==\"ea60\", GOTO=\"qzm836\"\n"
                    "GOTO=\"qzm836_end\"\nLABEL=\"qzm836\"\n"
                    "ENV{ID_MM_DEVICE_IGNORE}=\"1\", TAG+=\"uaccess\"\n");
         },
         0,
         {Fine, "IDS_DOCTOR_MM_RULE", {""}},
         "IDS_DOCTOR_MODEMMANAGER"},
    };
    for (const Case& c : cases) {
        FakeSystem system;
        c.setup(system);
        const DoctorReport report = system.run();
        const std::vector<Finding> findings =
            c.port == 0 ? report.general : portFindings(report, c.port);
        // Paths are the tree's own: fill in the ones the case could not know.
        Finding expected = c.expected;
        for (std::string& value : expected.values) {
            if (value.empty()) {
                for (const Finding& f : findings) {
                    if (f.key == expected.key && !f.values.empty()) {
                        value = f.values.front();
                    }
                }
            }
        }
        if (!expected.key.empty()) {
            EXPECT_TRUE(contains(findings, expected)) << c.name;
        }
        if (c.absentKey != nullptr) {
            EXPECT_FALSE(containsKey(findings, c.absentKey)) << c.name;
        }
        if (expected.level == Problem) {
            EXPECT_TRUE(report.hasProblem()) << c.name;
        }
    }
}

TEST(PortDoctor, ASoundSystemHasNoProblem) {
    FakeSystem system;
    system.process(40, "systemd");
    const DoctorReport report = system.run();
    EXPECT_FALSE(report.hasProblem());
    EXPECT_TRUE(report.general.empty());
}

TEST(PortDoctor, NamesTheAdapterAndTheExactPaths) {
    FakeSystem system;
    system.groupLine += "alice";
    system.brlttyInstalled();
    system.rule(system.roots.udevRules[3], "85-brltty.rules", "ENV{PRODUCT}==\"1a86/7523/*\"\n");
    const DoctorReport report = system.run();
    ASSERT_EQ(report.ports.size(), 1U);
    EXPECT_EQ(report.ports[0].device, system.device());
    // A known bridge is named by its chip, not by its generic "USB Serial".
    EXPECT_EQ(report.ports[0].adapter, "WCH CH340 (1a86:7523)");
    EXPECT_TRUE(contains(report.ports[0].findings,
                         {Note, "IDS_DOCTOR_BYID", {system.byId().string(), "1"}}));
    EXPECT_TRUE(
        contains(report.general, {Problem,
                                  "IDS_DOCTOR_BRLTTY",
                                  {(system.roots.udevRules[3] / "85-brltty.rules").string()}}));
    EXPECT_TRUE(report.hasProblem());
}

// Every bridge of the table is known by name; any other USB id gets a note that the
// udev rule does not cover it (and no catch-all makes it look covered).
TEST(PortDoctor, KnowsExactlyTheTabledBridges) {
    struct Case {
        const char* vendor;
        const char* product;
        const char* adapter;  // nullptr: not a known bridge
    };
    const Case cases[] = {
        {"1a86", "7522", "WCH CH340K (1a86:7522)"},
        {"4348", "5523", "WCH CH341 (4348:5523)"},
        {"1a86", "55d4", "WCH CH9102 (1a86:55d4)"},
        {"067b", "23F3", "Prolific PL2303GS (067b:23F3)"},
        {"0403", "6015", "FTDI FT230X (0403:6015)"},
        {"0403", "6010", nullptr},  // FTDI's dual-port chip: no programming cable
        {"1a86", "7524", nullptr},
        {"2341", "0043", nullptr},  // a microcontroller board
    };
    for (const Case& c : cases) {
        FakeSystem system;
        const fs::path usb = system.roots.sys / "devices" / "usb1" / "1-1";
        test::writeFile(usb / "idVendor", std::string(c.vendor) + "\n");
        test::writeFile(usb / "idProduct", std::string(c.product) + "\n");
        const DoctorReport report = system.run();
        ASSERT_EQ(report.ports.size(), 1U) << c.product;
        const std::string usbId = std::string(c.vendor) + ":" + c.product;
        const Finding unknown{Note, "IDS_DOCTOR_UNKNOWN_ADAPTER", {usbId, "70-qzm836.rules"}};
        if (c.adapter != nullptr) {
            EXPECT_EQ(report.ports[0].adapter, c.adapter);
            EXPECT_FALSE(contains(report.ports[0].findings, unknown)) << usbId;
        } else {
            EXPECT_EQ(report.ports[0].adapter, "USB Serial (" + usbId + ")");
            EXPECT_TRUE(contains(report.ports[0].findings, unknown)) << usbId;
        }
    }
}

// The rule the package installs names exactly the ids of the adapter table: one list,
// two readers.  Also its file name is the one the doctor advises.
TEST(CableAdapters, UdevRuleNamesExactlyTheTable) {
    const fs::path rule = fs::path(QZM_TEST_SOURCE_DIR) / "res" / "udev" / kUdevRuleName;
    ASSERT_TRUE(fs::exists(rule)) << rule;
    std::ifstream in(rule);
    std::set<std::string> ruleIds;
    std::string line;
    const std::string vendorTag = "ATTRS{idVendor}==\"";
    const std::string productTag = "ATTRS{idProduct}==\"";
    while (std::getline(in, line)) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') {
            continue;
        }
        const auto vendor = line.find(vendorTag);
        const auto product = line.find(productTag);
        // A test of one id without the other would be a catch-all.
        ASSERT_EQ(vendor == std::string::npos, product == std::string::npos) << line;
        if (vendor != std::string::npos) {
            ruleIds.insert(line.substr(vendor + vendorTag.size(), 4) + ":" +
                           line.substr(product + productTag.size(), 4));
        }
        EXPECT_EQ(line.find('*'), std::string::npos) << "no pattern: " << line;
    }
    std::set<std::string> tableIds;
    for (const CableAdapter& adapter : kCableAdapters) {
        EXPECT_TRUE(
            tableIds.insert(std::string(adapter.id.vendor) + ":" + std::string(adapter.id.product))
                .second)
            << adapter.name;
    }
    EXPECT_EQ(ruleIds, tableIds);
    EXPECT_EQ(tableIds.size(), 16U);
}

// The emulator's pseudo-terminal is held open by the program at its other end (here the
// test itself): that is the normal state of a pty, not a program in the way.
TEST(PortDoctor, RecognisesAPseudoTerminal) {
    test::PtyPair pty;
    ASSERT_FALSE(pty.path().empty());
    test::TempFolder folder;
    test::writeFile(folder / "setting.ini",
                    "[setup]\ncom=200\n[ports]\nCOM200=" + pty.path() + "\n");
    // Our own process id is not left out: it holds the pty as the emulator would.
    const DoctorReport report =
        diagnoseConnection(folder / "setting.ini", DoctorRoots{}, UserIdentity::current(), -1);
    const std::vector<Finding> findings = portFindings(report, 200);
    ASSERT_FALSE(findings.empty());
    EXPECT_TRUE(contains(findings, {Fine, "IDS_DOCTOR_PTY", {}}));
    for (const Finding& finding : findings) {
        EXPECT_NE(finding.key, "IDS_DOCTOR_INUSE");
        EXPECT_NE(finding.level, Problem) << finding.key;
    }
}

TEST(DoctorReportText, MarksIndentsAndFillsTheFindings) {
    DoctorReport report;
    PortFindings port;
    port.number = 2;
    port.device = "/dev/ttyUSB1";
    port.adapter = "CP2102 (10c4:ea60)";
    port.findings = {{Fine, "IDS_DOCTOR_ACCESS", {}},
                     {Problem, "IDS_DOCTOR_INUSE", {"minicom %2", "12"}},
                     {Note, "IDS_DOCTOR_BYID", {"/dev/serial/by-id/x", "2"}}};
    report.ports.push_back(port);
    const TextSource language = [](std::string_view key) {
        return key == "IDS_DOCTOR_ACCESS" ? std::string("Darf geöffnet werden.")
                                          : std::string("Not Found");
    };
    EXPECT_EQ(formatDoctorReport(report, language),
              "COM2: /dev/ttyUSB1  CP2102 (10c4:ea60)\n"
              "  [ok] Darf geöffnet werden.\n"
              "  [!!] minicom %2 (PID 12) holds it open. Close that program, or stop it with "
              "'kill 12'.\n"
              "  [i]  Its stable name is /dev/serial/by-id/x. To keep this cable on COM2 "
              "whatever else is plugged in, add to setting.ini:\n"
              "       [ports]\n"
              "       COM2=/dev/serial/by-id/x\n"
              "\n"
              "System\n"
              "  [ok] Nothing else stands in the way.\n");
}

// The built-in English of an older language file matches the shipped English file.
TEST(DoctorReportText, BuiltInEnglishMatchesTheShippedFile) {
    const fs::path english = fs::path(QZM_TEST_SOURCE_DIR) / "res" / "english.lang";
    const TextSource shipped = languageFileTexts(english);
    int checked = 0;
    for (std::string_view key : knownStringKeys()) {
        if (!key.starts_with("IDS_DOCTOR_") || key == "IDS_DOCTOR_BUTTON" ||
            key == "IDS_DOCTOR_TITLE") {
            continue;
        }
        const Finding finding{Note, std::string(key), {"A", "B", "C"}};
        EXPECT_EQ(findingText(finding, shipped), findingText(finding, nullptr)) << key;
        ++checked;
    }
    EXPECT_GE(checked, 18);
}

}  // namespace
}  // namespace qzm
