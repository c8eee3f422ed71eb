// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_error_text.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/placeholders.h"

namespace qzm {
namespace {

struct Reason {
    int error;
    std::string_view key;
    std::string_view english;
    // The English words replace the system's text even in English: it misleads there.
    bool beforeSystemText = false;
};

constexpr Reason kReasons[] = {
    {ENOENT, "IDS_ERRNO_ENOENT", "there is no such file or folder"},
    {EACCES, "IDS_ERRNO_EACCES", "permission denied"},
    {EPERM, "IDS_ERRNO_EACCES", "permission denied"},
    {ENOSPC, "IDS_ERRNO_ENOSPC", "there is no space left on the disk"},
    {EDQUOT, "IDS_ERRNO_ENOSPC", "there is no space left on the disk"},
    {EROFS, "IDS_ERRNO_EROFS", "the file system is read-only"},
    {EBUSY, "IDS_ERRNO_EBUSY", "the file is in use"},
    {ETXTBSY, "IDS_ERRNO_EBUSY", "the file is in use"},
    {ENOTDIR, "IDS_ERRNO_ENOTDIR", "a part of the path is not a folder", true},
    {EISDIR, "IDS_ERRNO_EISDIR", "it is a folder"},
    {ELOOP, "IDS_ERRNO_ELOOP", "the path is a loop of symbolic links", true},
    {EFBIG, "IDS_ERRNO_EFBIG", "the file would exceed the file size limit", true},
    {ENAMETOOLONG, "IDS_ERRNO_ENAMETOOLONG", "the name is too long", true},
};

const Reason* reasonOf(int error) {
    for (const Reason& reason : kReasons) {
        if (reason.error == error) {
            return &reason;
        }
    }
    return nullptr;
}

// Every operation a file failure names (the `what` of fileFailure).
struct Action {
    std::string_view what;
    std::string_view key;
};

constexpr Action kActions[] = {
    {"Cannot create", "IDS_FILE_CANNOT_CREATE"},
    {"Cannot save", "IDS_FILE_CANNOT_SAVE"},
    {"Cannot create the folder", "IDS_FILE_CANNOT_CREATE_FOLDER"},
    {"Cannot open", "IDS_FILE_CANNOT_OPEN"},
    {"Cannot read", "IDS_FILE_CANNOT_READ"},
    {"Cannot write", "IDS_FILE_CANNOT_WRITE"},
    {"Cannot read the folder", "IDS_FILE_CANNOT_READ_FOLDER"},
};

}  // namespace

std::string fileErrorReason(int error) {
    const Reason* reason = reasonOf(error);
    return reason != nullptr && reason->beforeSystemText ? std::string(reason->english)
                                                         : std::strerror(error);
}

std::string errnoReasonText(int error, const TextSource& texts) {
    if (const Reason* reason = reasonOf(error)) {
        return textOr(texts, reason->key, reason->english);
    }
    const std::string system =
        std::string(std::strerror(error)) + ", errno " + std::to_string(error);
    return fillPlaceholders(textOr(texts, "IDS_ERRNO_OTHER", "system error (%1)"), {system});
}

std::string fileErrorText(const Error& error, const TextSource& texts) {
    if (!error.file) {
        return error.text;
    }
    std::string reason;
    if (error.code != 0) {
        reason = errnoReasonText(error.code, texts);
    } else if (error.file->reason == kNotARegularFile) {
        reason = textOr(texts, "IDS_FILE_NOT_REGULAR", kNotARegularFile);
    } else {
        return error.text;
    }
    for (const Action& action : kActions) {
        if (action.what == error.file->what) {
            return fillPlaceholders(
                textOr(texts, action.key, std::string(action.what) + " \"%1\": %2"),
                {error.file->file.string(), reason});
        }
    }
    return error.text;
}

std::string fileErrorText(const Status& status, const TextSource& texts) {
    return status.ok() ? std::string() : fileErrorText(status.error(), texts);
}

}  // namespace qzm
