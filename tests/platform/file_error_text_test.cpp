// SPDX-License-Identifier: GPL-3.0-or-later
// File errors in the user's language: the system's text never stands alone.
#include "platform/file_error_text.h"
#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "test_language.h"

namespace qzm {
namespace {

TEST(FileErrorTexts, CommonErrorsComeFromTheLanguageAndTheRestKeepTheSystemTextAsDetail) {
    const TextSource chinese = test::languageWith({
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

TEST(FileErrorTexts, EveryOperationAndTheReasonsWithoutAnErrnoHaveWords) {
    const TextSource chinese = test::languageWith({
        {"IDS_FILE_CANNOT_CREATE", "无法创建“%1”：%2"},
        {"IDS_FILE_CANNOT_SAVE", "无法保存“%1”：%2"},
        {"IDS_FILE_CANNOT_CREATE_FOLDER", "无法创建文件夹“%1”：%2"},
        {"IDS_FILE_CANNOT_OPEN", "无法打开“%1”：%2"},
        {"IDS_FILE_CANNOT_READ", "无法读取“%1”：%2"},
        {"IDS_FILE_CANNOT_WRITE", "无法写入“%1”：%2"},
        {"IDS_FILE_CANNOT_READ_FOLDER", "无法读取文件夹“%1”：%2"},
        {"IDS_FILE_NOT_REGULAR", "不是普通文件"},
        {"IDS_ERRNO_EISDIR", "这是一个文件夹"},
    });
    struct Case {
        const char* what;
        const char* sentence;
    };
    const Case cases[] = {
        {"Cannot create", "无法创建"},
        {"Cannot save", "无法保存"},
        {"Cannot create the folder", "无法创建文件夹"},
        {"Cannot open", "无法打开"},
        {"Cannot read", "无法读取"},
        {"Cannot write", "无法写入"},
        {"Cannot read the folder", "无法读取文件夹"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string start = std::string(c.sentence) + "“/a/b”：";
        EXPECT_EQ(fileErrorText(fileFailure(c.what, "/a/b", EISDIR), chinese),
                  start + "这是一个文件夹");
        EXPECT_EQ(fileErrorText(fileFailure(c.what, "/a/b", kNotARegularFile), chinese),
                  start + "不是普通文件");
    }
}

TEST(FileErrorTexts, WithoutAKnownReasonOrOperationTheOwnTextStays) {
    const TextSource english = test::languageWith({});
    const Status reason = fileFailure("Cannot save", "/a/b", "the name is taken");
    EXPECT_EQ(fileErrorText(reason, english), reason.error().text);
    const Status operation = fileFailure("Cannot rename", "/a/b", EACCES);
    EXPECT_EQ(fileErrorText(operation, english), operation.error().text);
    const Status plain = Error{"no file at all", EACCES};
    EXPECT_EQ(fileErrorText(plain, english), "no file at all");
    // A language without the sentence: the English one, with the reason filled in.
    const Status folder = fileFailure("Cannot create the folder", "/a/%2", EROFS);
    EXPECT_EQ(fileErrorText(folder, english),
              "Cannot create the folder \"/a/%2\": the file system is read-only");
    const Status fifo = fileFailure("Cannot open", "/a/b", kNotARegularFile);
    EXPECT_EQ(fileErrorText(fifo, english), "Cannot open \"/a/b\": not a regular file");
    EXPECT_EQ(fileErrorText(Status{}, english), "");
}

}  // namespace
}  // namespace qzm
