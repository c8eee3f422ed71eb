// SPDX-License-Identifier: GPL-3.0-or-later
// File errors in the user's language: the system's text never stands alone.
#include "lang/file_error_texts.h"
#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>

#include "lang/text_lookup.h"
#include "platform/file_error_text.h"

namespace qzm {
namespace {

// A language that has some keys and lacks others.
TextSource language(std::map<std::string, std::string> keys) {
    return [keys = std::move(keys)](std::string_view key) {
        const auto found = keys.find(std::string(key));
        return found == keys.end() ? std::string(kNotFoundText) : found->second;
    };
}

TEST(FileErrorTexts, CommonErrorsComeFromTheLanguageAndTheRestKeepTheSystemTextAsDetail) {
    const TextSource chinese = language({
        {"IDS_FILE_CANNOT_CREATE", "无法创建“%1”：%2"},
        {"IDS_ERRNO_ENOENT", "没有这个文件或文件夹"},
        {"IDS_ERRNO_EACCES", "没有权限"},
        {"IDS_ERRNO_ENOSPC", "磁盘空间不足"},
        {"IDS_ERRNO_EROFS", "文件系统是只读的"},
        {"IDS_ERRNO_EBUSY", "文件正在使用中"},
        {"IDS_ERRNO_OTHER", "系统错误（%1）"},
    });
    struct Case {
        int error;
        std::string reason;
    };
    const Case cases[] = {
        {ENOENT, "没有这个文件或文件夹"},
        {EACCES, "没有权限"},
        {EPERM, "没有权限"},
        {ENOSPC, "磁盘空间不足"},
        {EDQUOT, "磁盘空间不足"},
        {EROFS, "文件系统是只读的"},
        {EBUSY, "文件正在使用中"},
        {ETXTBSY, "文件正在使用中"},
        // Known to the program but not to this language: English, not "Not Found".
        {ENOTDIR, "a part of the path is not a folder"},
        {EIO,
         "系统错误（" + std::string(std::strerror(EIO)) + ", errno " + std::to_string(EIO) + "）"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(errnoReasonText(c.error, chinese), c.reason) << c.error;
        const Status failed = fileFailure("Cannot create", "/tmp/x/备份.836", c.error);
        EXPECT_EQ(fileErrorText(failed, chinese), "无法创建“/tmp/x/备份.836”：" + c.reason)
            << c.error;
    }
}

TEST(FileErrorTexts, WithoutASystemErrorOrAKnownActionTheOwnTextStays) {
    const TextSource english = language({});
    const Status plain = fileFailure("Cannot save", "/a/b", kNotARegularFile);
    EXPECT_EQ(fileErrorText(plain, english), plain.error().text);
    const Status other = fileFailure("Cannot read", "/a/b", EACCES);
    EXPECT_EQ(fileErrorText(other, english), other.error().text);
    // A language without the sentence: the English one, with the reason filled in.
    const Status folder = fileFailure("Cannot create the folder", "/a/%2", EROFS);
    EXPECT_EQ(fileErrorText(folder, english),
              "Cannot create the folder \"/a/%2\": the file system is read-only");
    EXPECT_EQ(fileErrorText(Status{}, english), "");
}

}  // namespace
}  // namespace qzm
