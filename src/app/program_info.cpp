// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_info.h"

#include "platform/program_version.h"

namespace qzm {

std::optional<std::string> programInfoText(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return std::nullopt;
    }
    if (arguments.front() == "--version") {
        return versionText("qzm836");
    }
    if (arguments.front() == "--help" || arguments.front() == "-h") {
        return "Usage: qzm836 [FILE.836]\n"
               "       qzm836 --print-to-pdf OUT.pdf [FILE.836]\n"
               "The programming software of the QZM-836 radio: read the radio's memory over\n"
               "its cable, edit the channels and settings, write them back, keep them in\n"
               "\".836\" files.  FILE.836 opens that file.\n"
               "\n"
               "  --print-to-pdf OUT.pdf [FILE.836]\n"
               "             the printed channel list as a PDF file, with no window\n"
               "  --help     this text\n"
               "  --version  the program's version\n"
               "\n"
               "qzm836-cli does the same from a shell; qzm836-sim is a radio emulator.\n";
    }
    return std::nullopt;
}

}  // namespace qzm
