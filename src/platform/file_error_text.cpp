// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_error_text.h"

#include <cerrno>
#include <cstring>

namespace qzm {

std::string fileErrorReason(int error) {
    switch (error) {
        case ENOTDIR:
            return "a part of the path is not a folder";
        case ELOOP:
            return "the path is a loop of symbolic links";
        case EFBIG:
            return "the file would exceed the file size limit";
        case ENAMETOOLONG:
            return "the name is too long";
        default:
            return std::strerror(error);
    }
}

}  // namespace qzm
