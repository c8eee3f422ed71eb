// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_doctor.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <system_error>

#include "link/cable_adapters.h"
#include "link/port_map.h"
#include "link/udev_rules.h"
#include "platform/profile.h"
#include "platform/settings.h"

namespace qzm {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kModemManager = "ModemManager";

std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    return line;
}

std::optional<int> processId(const std::string& name) {
    int value = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value);
    if (name.empty() || error != std::errc{} || end != name.data() + name.size()) {
        return std::nullopt;
    }
    return value;
}

fs::path canonicalOrSelf(const fs::path& path) {
    std::error_code error;
    fs::path real = fs::weakly_canonical(path, error);
    return error ? path.lexically_normal() : real;
}

// "crw-rw----", as ls shows it.
std::string modeText(mode_t mode) {
    std::string text = S_ISCHR(mode) ? "c" : S_ISDIR(mode) ? "d" : S_ISLNK(mode) ? "l" : "-";
    const char* letters = "rwx";
    for (int shift = 8; shift >= 0; --shift) {
        text += (mode & (1U << shift)) != 0 ? letters[(8 - shift) % 3] : '-';
    }
    return text;
}

// "1a86:7523" of the USB device above a tty, empty for anything else.
std::string usbIdOf(const fs::path& sysRoot, const fs::path& device) {
    std::error_code error;
    const fs::path node = sysRoot / "class" / "tty" / canonicalOrSelf(device).filename();
    fs::path dir = fs::weakly_canonical(node / "device", error);
    if (error) {
        return {};
    }
    for (int level = 0; level < 4 && dir.has_relative_path(); ++level) {
        if (fs::exists(dir / "idVendor", error)) {
            return firstLine(dir / "idVendor") + ":" + firstLine(dir / "idProduct");
        }
        dir = dir.parent_path();
    }
    return {};
}

// Unix98 pseudo-terminal slaves (/dev/pts/N) have the major numbers 136 to 143.
bool isPseudoTerminal(const struct stat& info) {
    const unsigned major = ::major(info.st_rdev);
    return S_ISCHR(info.st_mode) && major >= 136 && major <= 143;
}

// The processes with a file open, by the file's canonical path; and whether ModemManager runs.
struct ProcessScan {
    std::map<fs::path, std::vector<std::pair<std::string, int>>> holders;
    bool modemManagerRunning = false;
    int unreadable = 0;  // processes whose open files we may not see (other users')
};

ProcessScan scanProcesses(const fs::path& procRoot, const fs::path& devRoot, int selfPid) {
    ProcessScan scan;
    const std::string devPrefix = canonicalOrSelf(devRoot).string();
    std::error_code error;
    for (fs::directory_iterator it(procRoot, error), end; !error && it != end;
         it.increment(error)) {
        const auto pid = processId(it->path().filename().string());
        if (!pid || *pid == selfPid) {
            continue;
        }
        const std::string name = firstLine(it->path() / "comm");
        scan.modemManagerRunning = scan.modemManagerRunning || name == kModemManager;
        std::error_code fdError;
        fs::directory_iterator fd(it->path() / "fd", fdError);
        if (fdError && fdError != std::errc::no_such_file_or_directory) {
            ++scan.unreadable;  // another user's process: only root may look
            continue;
        }
        for (fs::directory_iterator fdEnd; !fdError && fd != fdEnd; fd.increment(fdError)) {
            std::error_code linkError;
            const fs::path target = fs::read_symlink(fd->path(), linkError);
            if (linkError || target.string().rfind(devPrefix, 0) != 0) {
                continue;
            }
            auto& list = scan.holders[canonicalOrSelf(target)];
            if (list.empty() || list.back().second != *pid) {
                list.emplace_back(name, *pid);
            }
        }
    }
    return scan;
}

class Doctor {
  public:
    Doctor(const fs::path& settings, const DoctorRoots& roots, const UserIdentity& user,
           int selfPid)
        : settings_(settings),
          roots_(roots),
          user_(user),
          accounts_(roots.etc),
          map_(settings, roots.dev, roots.sys),
          processes_(scanProcesses(roots.proc, roots.dev, selfPid)) {}

    DoctorReport run() {
        DoctorReport report;
        const std::vector<fs::path> present = map_.presentDevices();
        const int chosen = settings_.empty() ? 0 : readComPort(settings_);
        bool chosenHasDevice = false;
        for (int number = kFirstPortNumber; number <= kLastPortNumber; ++number) {
            std::optional<fs::path> device = configuredDevice(number);
            const bool configured = device.has_value();
            if (!device && static_cast<std::size_t>(number - 1) < present.size()) {
                device = present[static_cast<std::size_t>(number - 1)];
            }
            if (!device) {
                continue;
            }
            chosenHasDevice = chosenHasDevice || number == chosen;
            report.ports.push_back(checkPort(number, *device, configured, number == chosen));
        }
        if (report.ports.empty()) {
            report.general.push_back({FindingLevel::Problem, "IDS_DOCTOR_NOPORTS", {}});
        } else if (chosen != 0 && !chosenHasDevice) {
            report.general.push_back(
                {FindingLevel::Problem, "IDS_DOCTOR_CHOSEN_NONE", {std::to_string(chosen)}});
        }
        checkSystem(report.general);
        return report;
    }

  private:
    std::optional<fs::path> configuredDevice(int number) const {
        if (settings_.empty()) {
            return std::nullopt;
        }
        const auto value = readProfileValue(settings_, "ports", "COM" + std::to_string(number));
        if (!value || value->empty()) {
            return std::nullopt;
        }
        const fs::path device(*value);
        return device.is_absolute() ? device : roots_.dev / device;
    }

    PortFindings checkPort(int number, const fs::path& device, bool configured, bool chosen) const {
        PortFindings port;
        port.number = number;
        port.device = device;
        auto& out = port.findings;
        // Said first: the findings below are about the port the radio will use.
        if (chosen) {
            out.push_back({FindingLevel::Note, "IDS_DOCTOR_CHOSEN", {}});
        }
        struct stat info {};
        if (::stat(device.c_str(), &info) != 0) {
            out.push_back({FindingLevel::Problem,
                           configured ? "IDS_DOCTOR_MISSING_SET" : "IDS_DOCTOR_MISSING",
                           {device.string(), std::to_string(number)}});
            return port;
        }
        port.adapter = map_.adapterName(device);
        const std::string usbId = usbIdOf(roots_.sys, device);
        if (!usbId.empty()) {
            port.adapter += (port.adapter.empty() ? "" : " ") + ("(" + usbId + ")");
            const auto colon = usbId.find(':');
            if (!findCableAdapter(usbId.substr(0, colon), usbId.substr(colon + 1))) {
                out.push_back({FindingLevel::Note,
                               "IDS_DOCTOR_UNKNOWN_ADAPTER",
                               {usbId, std::string(kUdevRuleName)}});
            }
        }
        const std::string owner = accounts_.userName(info.st_uid);
        const std::string group = accounts_.groupName(info.st_gid);
        out.push_back(
            {FindingLevel::Note, "IDS_DOCTOR_OWNER", {owner, group, modeText(info.st_mode)}});
        out.push_back(accessFinding(device, info, owner, group));
        const auto holders = processes_.holders.find(canonicalOrSelf(device));
        if (isPseudoTerminal(info)) {
            // The program at the other end (the emulator) keeps it open: that is how a
            // pseudo-terminal works, not a program in the way.
            out.push_back({FindingLevel::Fine, "IDS_DOCTOR_PTY", {}});
        } else if (holders == processes_.holders.end() && processes_.unreadable > 0) {
            out.push_back({FindingLevel::Note, "IDS_DOCTOR_FREE_OWN", {}});
        } else if (holders == processes_.holders.end()) {
            out.push_back({FindingLevel::Fine, "IDS_DOCTOR_FREE", {}});
        } else {
            for (const auto& [name, pid] : holders->second) {
                out.push_back(
                    {FindingLevel::Problem, "IDS_DOCTOR_INUSE", {name, std::to_string(pid)}});
            }
        }
        stableNameFinding(number, device, configured, out);
        return port;
    }

    Finding accessFinding(const fs::path& device, const struct stat& info, const std::string& owner,
                          const std::string& group) const {
        const mode_t mode = info.st_mode;
        auto readWrite = [&](mode_t read, mode_t write) {
            return (mode & read) != 0 && (mode & write) != 0;
        };
        bool allowed = false;
        if (user_.uid == 0) {
            allowed = true;
        } else if (user_.uid == info.st_uid) {
            allowed = readWrite(S_IRUSR, S_IWUSR);
        } else if (user_.inSessionGroup(info.st_gid)) {
            allowed = readWrite(S_IRGRP, S_IWGRP);
        } else {
            allowed = readWrite(S_IROTH, S_IWOTH);
        }
        // An ACL (the desktop's uaccess tag) may allow what the mode bits do not.
        if (allowed || (user_.askKernel && ::access(device.c_str(), R_OK | W_OK) == 0)) {
            return {FindingLevel::Fine, "IDS_DOCTOR_ACCESS", {}};
        }
        const bool groupMayOpen = readWrite(S_IRGRP, S_IWGRP);
        if (groupMayOpen && !user_.inSessionGroup(info.st_gid)) {
            if (accounts_.isMemberNow(user_.name, info.st_gid)) {
                return {FindingLevel::Problem, "IDS_DOCTOR_RELOGIN", {group}};
            }
            return {FindingLevel::Problem, "IDS_DOCTOR_NOTINGROUP", {group, user_.name}};
        }
        return {FindingLevel::Problem, "IDS_DOCTOR_DENIED", {owner, std::string(kUdevRuleName)}};
    }

    void stableNameFinding(int number, const fs::path& device, bool configured,
                           std::vector<Finding>& out) const {
        const fs::path byId = roots_.dev / "serial" / "by-id";
        if (configured && device.parent_path() == byId) {
            out.push_back({FindingLevel::Fine, "IDS_DOCTOR_STABLE", {std::to_string(number)}});
            return;
        }
        const fs::path real = canonicalOrSelf(device);
        std::error_code error;
        std::vector<fs::path> names;
        for (fs::directory_iterator it(byId, error), end; !error && it != end;
             it.increment(error)) {
            if (canonicalOrSelf(it->path()) == real) {
                names.push_back(it->path());
            }
        }
        std::sort(names.begin(), names.end());
        if (!names.empty()) {
            out.push_back({FindingLevel::Note,
                           "IDS_DOCTOR_BYID",
                           {names.front().string(), std::to_string(number)}});
        }
    }

    void checkSystem(std::vector<Finding>& out) const {
        const std::vector<fs::path> rules = activeRuleFiles(roots_.udevRules);
        const bool brlttyInstalled =
            std::any_of(roots_.programs.begin(), roots_.programs.end(), [](const fs::path& dir) {
                std::error_code error;
                return fs::exists(dir / "brltty", error);
            });
        if (brlttyInstalled) {
            const fs::path claim = findRuleFile(rules, "brltty", kBrailleClaimedIds, true);
            if (!claim.empty()) {
                out.push_back({FindingLevel::Problem, "IDS_DOCTOR_BRLTTY", {claim.string()}});
            }
        }
        if (processes_.modemManagerRunning) {
            const fs::path ours = findRuleFile(rules, "ID_MM_DEVICE_IGNORE", kCableAdapterIds);
            if (ours.empty()) {
                out.push_back({FindingLevel::Problem,
                               "IDS_DOCTOR_MODEMMANAGER",
                               {std::string(kUdevRuleName)}});
            } else {
                out.push_back({FindingLevel::Fine, "IDS_DOCTOR_MM_RULE", {ours.string()}});
            }
        }
    }

    fs::path settings_;
    const DoctorRoots& roots_;
    const UserIdentity& user_;
    AccountFiles accounts_;
    PortMap map_;
    ProcessScan processes_;
};

}  // namespace

DoctorRoots DoctorRoots::under(const fs::path& root) {
    DoctorRoots roots;
    auto below = [&](const fs::path& path) { return root / path.relative_path(); };
    roots.dev = below(roots.dev);
    roots.sys = below(roots.sys);
    roots.proc = below(roots.proc);
    roots.etc = below(roots.etc);
    for (auto& dir : roots.udevRules) {
        dir = below(dir);
    }
    for (auto& dir : roots.programs) {
        dir = below(dir);
    }
    return roots;
}

bool DoctorReport::hasProblem() const {
    auto problem = [](const Finding& f) { return f.level == FindingLevel::Problem; };
    return std::any_of(general.begin(), general.end(), problem) ||
           std::any_of(ports.begin(), ports.end(), [&](const PortFindings& port) {
               return std::any_of(port.findings.begin(), port.findings.end(), problem);
           });
}

DoctorReport diagnoseConnection(const fs::path& settingsPath, const DoctorRoots& roots,
                                const UserIdentity& user, int selfPid) {
    return Doctor(settingsPath, roots, user, selfPid).run();
}

}  // namespace qzm
