// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_version.h"

namespace qzm {

std::string_view programVersion() {
    return QZM_PROGRAM_VERSION;
}

std::string versionText(std::string_view program) {
    std::string text(program);
    text += ' ';
    text += programVersion();
    text += "\nLicence ";
    text += kProgramLicence;
    text +=
        ": GNU GPL version 3 or later <https://www.gnu.org/licenses/gpl.html>.\n"
        "This is free software: you are free to change and redistribute it.\n"
        "There is NO WARRANTY, to the extent permitted by law.\n";
    return text;
}

}  // namespace qzm
