// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/user_accounts.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace qzm {
namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(text);
    while (std::getline(in, field, separator)) {
        fields.push_back(field);
    }
    if (!text.empty() && text.back() == separator) {
        fields.emplace_back();
    }
    return fields;
}

}  // namespace

UserIdentity UserIdentity::current() {
    UserIdentity identity;
    identity.uid = ::getuid();
    identity.gid = ::getgid();
    identity.askKernel = true;
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        const int got = ::getgroups(count, groups.data());
        for (int i = 0; i < got; ++i) {
            identity.sessionGroups.push_back(groups[static_cast<std::size_t>(i)]);
        }
    }
    identity.sessionGroups.push_back(::getegid());
    // Through NSS, so a user from a directory service has a name too.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(identity.uid, &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr) {
        identity.name = found->pw_name;
    }
    return identity;
}

bool UserIdentity::inSessionGroup(unsigned group) const {
    return group == gid ||
           std::find(sessionGroups.begin(), sessionGroups.end(), group) != sessionGroups.end();
}

std::optional<std::vector<std::string>> AccountFiles::findEntry(const char* file,
                                                                std::size_t keyField,
                                                                const std::string& key) const {
    std::ifstream in(etcRoot_ / file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::vector<std::string> fields = split(line, ':');
        if (fields.size() > keyField && fields[keyField] == key) {
            return fields;
        }
    }
    return std::nullopt;
}

std::string AccountFiles::userName(unsigned uid) const {
    const auto entry = findEntry("passwd", 2, std::to_string(uid));
    return entry ? (*entry)[0] : std::to_string(uid);
}

std::string AccountFiles::groupName(unsigned gid) const {
    const auto entry = findEntry("group", 2, std::to_string(gid));
    return entry ? (*entry)[0] : std::to_string(gid);
}

bool AccountFiles::isMemberNow(const std::string& user, unsigned gid) const {
    if (user.empty()) {
        return false;
    }
    const auto account = findEntry("passwd", 0, user);
    if (account && account->size() > 3 && (*account)[3] == std::to_string(gid)) {
        return true;
    }
    const auto group = findEntry("group", 2, std::to_string(gid));
    if (!group || group->size() < 4) {
        return false;
    }
    const std::vector<std::string> members = split((*group)[3], ',');
    return std::find(members.begin(), members.end(), user) != members.end();
}

}  // namespace qzm
