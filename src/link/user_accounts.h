// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qzm {

// Who runs the program, as far as opening a device goes.
struct UserIdentity {
    unsigned uid = 0;
    unsigned gid = 0;
    std::vector<unsigned> sessionGroups;  // what getgroups() gives: fixed at login
    std::string name;
    // For the running process itself: ask the kernel as well, so access granted by an ACL
    // (the desktop's "uaccess" tag) counts.  Off for an identity made up in a test.
    bool askKernel = false;

    // The running process (getuid, getgid, getgroups, the passwd entry).
    static UserIdentity current();
    bool inSessionGroup(unsigned group) const;
};

// The account files below `etcRoot` (passwd, group), read when asked.
class AccountFiles {
  public:
    explicit AccountFiles(std::filesystem::path etcRoot) : etcRoot_(std::move(etcRoot)) {}

    // The name of a user or group id; the number as text when the file lacks it.
    std::string userName(unsigned uid) const;
    std::string groupName(unsigned gid) const;
    // Whether `user` belongs to group `gid` according to the files now: its primary group
    // in passwd, or a member in group.  Unlike the session, this sees a change at once.
    bool isMemberNow(const std::string& user, unsigned gid) const;

  private:
    // The fields of the line whose field `keyField` is `key`.
    std::optional<std::vector<std::string>> findEntry(const char* file, std::size_t keyField,
                                                      const std::string& key) const;

    std::filesystem::path etcRoot_;
};

}  // namespace qzm
