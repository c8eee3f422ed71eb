// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/doctor_report_text.h"

#include <array>

#include "platform/placeholders.h"

namespace qzm {
namespace {

struct KeyText {
    std::string_view key;
    std::string_view english;
};

// What an older language file without these keys still shows.
constexpr std::array kEnglish{
    KeyText{"IDS_DOCTOR_GENERAL", "System"},
    KeyText{"IDS_DOCTOR_NOTHING", "Nothing else stands in the way."},
    KeyText{"IDS_DOCTOR_NOPORTS",
            "No serial device was found. Plug in the programming cable; if it still does "
            "not appear, look at the findings below."},
    KeyText{"IDS_DOCTOR_CHOSEN", "This is the port chosen for the radio."},
    KeyText{"IDS_DOCTOR_CHOSEN_NONE",
            "The chosen port COM%1 has no device behind it. Choose the cable's port in "
            "Settings > Communication Port."},
    KeyText{"IDS_DOCTOR_MISSING", "%1 does not exist. Plug in the programming cable."},
    KeyText{"IDS_DOCTOR_MISSING_SET",
            "%1 does not exist. Plug in the cable, or correct COM%2 in section [ports] of "
            "setting.ini."},
    KeyText{"IDS_DOCTOR_OWNER", "Owner %1, group %2, permissions %3."},
    KeyText{"IDS_DOCTOR_ACCESS", "You may open it."},
    KeyText{"IDS_DOCTOR_RELOGIN",
            "You were added to group %1, but this login session does not have it yet. Log "
            "out and log in again (or restart the computer)."},
    KeyText{"IDS_DOCTOR_NOTINGROUP",
            "You may not open it: you are not in group %1. Run 'sudo usermod -aG %1 %2', "
            "then log out and log in again."},
    KeyText{"IDS_DOCTOR_DENIED",
            "You may not open it: only %1 may. Install the program's udev rule %2, or "
            "ask the administrator for read and write access."},
    KeyText{"IDS_DOCTOR_FREE", "No other program holds it open."},
    KeyText{"IDS_DOCTOR_PTY",
            "A pseudo-terminal, such as the emulator qzm836-sim makes: the program at its "
            "other end keeps it open, as it should."},
    KeyText{"IDS_DOCTOR_UNKNOWN_ADAPTER",
            "The udev rule %2 does not know this USB adapter (%1), so ModemManager may probe "
            "it and only group dialout may open it. Programming cables use WCH, Prolific, "
            "Silicon Labs or FTDI bridges."},
    KeyText{"IDS_DOCTOR_FREE_OWN",
            "None of your programs holds it open. Programs of other users show only to "
            "'sudo qzm836-cli doctor'."},
    KeyText{"IDS_DOCTOR_INUSE",
            "%1 (PID %2) holds it open. Close that program, or stop it with 'kill %2'."},
    KeyText{"IDS_DOCTOR_STABLE", "COM%1 is named by its stable path in setting.ini."},
    KeyText{"IDS_DOCTOR_BYID",
            "Its stable name is %1. To keep this cable on COM%2 whatever else is plugged "
            "in, add to setting.ini:\n[ports]\nCOM%2=%1"},
    KeyText{"IDS_DOCTOR_BRLTTY",
            "brltty is installed and its udev rule %1 claims CH340/CP210x adapters, so it "
            "takes the cable away. Remove it with 'sudo apt remove brltty' unless you use "
            "a braille display."},
    KeyText{"IDS_DOCTOR_MODEMMANAGER",
            "ModemManager is running and no udev rule keeps it away from USB serial "
            "adapters, so it may probe the radio after plugging in. Install the program's "
            "udev rule %1, or run 'sudo systemctl disable --now ModemManager' if you use "
            "no mobile modem."},
    KeyText{"IDS_DOCTOR_MM_RULE",
            "ModemManager is running; the udev rule %1 keeps it away from the cable."},
};

std::string english(std::string_view key) {
    for (const KeyText& entry : kEnglish) {
        if (entry.key == key) {
            return std::string(entry.english);
        }
    }
    return std::string(key);
}

std::string textOf(std::string_view key, const TextSource& lookup) {
    return textOr(lookup, key, english(key));
}

std::string_view mark(FindingLevel level) {
    switch (level) {
        case FindingLevel::Fine:
            return "[ok] ";
        case FindingLevel::Problem:
            return "[!!] ";
        case FindingLevel::Note:
            break;
    }
    return "[i]  ";
}

// The finding indented under its heading; later lines line up with the first.
std::string line(const Finding& finding, const TextSource& lookup) {
    std::string text = "  " + std::string(mark(finding.level));
    for (char c : findingText(finding, lookup)) {
        text += c;
        if (c == '\n') {
            text += "       ";
        }
    }
    return text + "\n";
}

}  // namespace

std::string findingText(const Finding& finding, const TextSource& lookup) {
    return fillPlaceholders(textOf(finding.key, lookup), finding.values);
}

std::string formatDoctorReport(const DoctorReport& report, const TextSource& lookup) {
    std::string out;
    for (const PortFindings& port : report.ports) {
        out += "COM" + std::to_string(port.number) + ": " + port.device.string();
        if (!port.adapter.empty()) {
            out += "  " + port.adapter;
        }
        out += "\n";
        for (const Finding& finding : port.findings) {
            out += line(finding, lookup);
        }
        out += "\n";
    }
    out += textOf("IDS_DOCTOR_GENERAL", lookup) + "\n";
    for (const Finding& finding : report.general) {
        out += line(finding, lookup);
    }
    if (report.general.empty()) {
        out += line({FindingLevel::Fine, "IDS_DOCTOR_NOTHING", {}}, lookup);
    }
    return out;
}

}  // namespace qzm
