// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "link/user_accounts.h"

namespace qzm {

// Where the connection doctor looks.  Every root is a parameter so that tests can lay out
// a fake system; `under(root)` puts them all below one folder.
struct DoctorRoots {
    std::filesystem::path dev = "/dev";
    std::filesystem::path sys = "/sys";
    std::filesystem::path proc = "/proc";
    std::filesystem::path etc = "/etc";
    // udev's rule folders in falling priority.
    std::vector<std::filesystem::path> udevRules = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                                    "/lib/udev/rules.d", "/usr/lib/udev/rules.d"};
    // Where an installed program is found.
    std::vector<std::filesystem::path> programs = {"/usr/bin", "/usr/sbin", "/bin", "/sbin"};

    static DoctorRoots under(const std::filesystem::path& root);
};

enum class FindingLevel { Fine, Note, Problem };

// One sentence or two of the report: a language key with its %1, %2 ... values.  A
// problem's text says how to fix it.
struct Finding {
    FindingLevel level = FindingLevel::Note;
    std::string key;
    std::vector<std::string> values;
    friend bool operator==(const Finding&, const Finding&) = default;
};

struct PortFindings {
    int number = 0;  // COM number
    std::filesystem::path device;
    std::string adapter;  // name and USB id, empty when unknown
    std::vector<Finding> findings;
};

struct DoctorReport {
    std::vector<PortFindings> ports;  // every port with a device, in number order
    std::vector<Finding> general;     // the chosen port, brltty, ModemManager
    bool hasProblem() const;
};

// Looks at every port that has a device (the present serial devices and the [ports]
// entries of `settingsPath`) and at the system around them.  Opens nothing: a device
// busy with a transfer is left alone.  `selfPid` is left out of the search for holders.
DoctorReport diagnoseConnection(const std::filesystem::path& settingsPath, const DoctorRoots& roots,
                                const UserIdentity& user, int selfPid);

}  // namespace qzm
