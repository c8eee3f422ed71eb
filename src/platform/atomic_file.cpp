// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file_descriptor.h"
#include "platform/file_error_text.h"

namespace qzm {
namespace {

constexpr std::string_view kTemporaryPrefix = ".qzm-";
constexpr std::string_view kTemporarySuffix = ".tmp";
// The old contents are kept for a rollback of an in-place rewrite up to this size.
constexpr std::size_t kLargestRollback = 16 * 1024 * 1024;

std::atomic<TemporaryOpener> temporaryOpener{nullptr};

int openTemporary(const char* path, int flags, mode_t mode) {
    const TemporaryOpener opener = temporaryOpener.load();
    return opener != nullptr ? opener(path, flags, mode) : ::open(path, flags, mode);
}

// Past a file size limit the kernel would end the process with SIGXFSZ; ignored,
// the write fails with EFBIG and the old file stays.  A handler someone else
// installed is left alone.
void ignoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current {};
        if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            sigemptyset(&ignore.sa_mask);
            ::sigaction(SIGXFSZ, &ignore, nullptr);
        }
    });
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// The file a symbolic link points at is the one to replace, not the link itself.
// 0, or the reason the path cannot be used (a loop of links).
int replacementTarget(const std::filesystem::path& file, std::filesystem::path& target) {
    target = file;
    struct stat link {};
    if (::lstat(file.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        return 0;
    }
    struct stat pointed {};
    if (::stat(file.c_str(), &pointed) != 0 && errno == ELOOP) {
        return ELOOP;
    }
    std::error_code ec;
    auto resolved = std::filesystem::weakly_canonical(file, ec);
    if (ec) {
        return ec.value() == ELOOP ? ELOOP : 0;
    }
    target = resolved;
    return 0;
}

// "PID<separator>N" with decimal numbers, the process id above 0.
bool parseProcessAndCounter(std::string_view text, char separator, pid_t& pid) {
    const auto at = text.find(separator);
    if (at == std::string_view::npos || at == 0 || at + 1 == text.size() ||
        text.find_first_not_of("0123456789", at + 1) != std::string_view::npos) {
        return false;
    }
    const char* end = text.data() + at;
    const auto [next, error] = std::from_chars(text.data(), end, pid);
    return error == std::errc() && next == end && pid > 0;
}

bool processIsGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Temporaries of processes that no longer run (killed during a save) go; only
// regular files of our own patterns and our own user are touched.  Earlier
// versions named them after the target, so those of the file just saved go too.
void removeStaleTemporaries(const std::filesystem::path& folder, std::string_view target) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const uid_t user = ::geteuid();
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        pid_t pid = 0;
        struct stat info {};
        const bool ours = parseTemporaryName(entry->d_name, pid) ||
                          parseOldTemporaryName(entry->d_name, target, pid);
        if (ours && pid != ::getpid() &&
            ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == user && processIsGone(pid)) {
            stale.emplace_back(entry->d_name);
        }
    }
    for (const auto& name : stale) {
        ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
    ::closedir(dir);
}

// A temporary file beside `target`, created with the usual permissions so that the umask
// applies; its name is written to `name`.
int createTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& name) {
    static std::atomic<unsigned> counter{0};
    const auto folder = folderOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder / (std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" +
                         std::to_string(counter++) + std::string(kTemporarySuffix));
        const int fd = openTemporary(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// The first `limit` bytes of an open file and whether that was all of it.
bool readBack(int fd, std::vector<std::uint8_t>& bytes, std::size_t limit) {
    std::uint8_t piece[65536];
    for (;;) {
        const ssize_t n = ::pread(fd, piece, sizeof piece, static_cast<off_t>(bytes.size()));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n == 0;
        }
        if (bytes.size() + static_cast<std::size_t>(n) > limit) {
            return false;
        }
        bytes.insert(bytes.end(), piece, piece + n);
    }
}

bool overwrite(int fd, std::span<const std::uint8_t> bytes) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes) &&
           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// The folder would not take a temporary file, but the file may be written: it is
// rewritten where it stands.  Not atomic, so the old bytes are kept to put back
// when the write fails half way (a full disk, a size limit).
Status rewriteInPlace(const std::filesystem::path& file, const std::filesystem::path& target,
                      std::span<const std::uint8_t> bytes, int temporaryError) {
    FileDescriptor fd(::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        return fileFailure("Cannot create", file, temporaryError);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return fileFailure("Cannot create", file, temporaryError);
    }
    std::vector<std::uint8_t> old;
    const bool haveOld = readBack(fd.get(), old, kLargestRollback);
    if (overwrite(fd.get(), bytes)) {
        if (!fd.close()) {
            return fileFailure("Cannot save", file, errno);
        }
        return {};
    }
    const int error = errno;
    if (haveOld) {
        overwrite(fd.get(), old);
    }
    return fileFailure("Cannot save", file, error);
}

bool mayRewriteInPlace(int temporaryError, const std::filesystem::path& target) {
    if (temporaryError != EACCES && temporaryError != EPERM) {
        return false;
    }
    struct stat info {};
    return ::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(target.c_str(), W_OK) == 0;
}

}  // namespace

Error fileFailure(const char* what, const std::filesystem::path& file, int error) {
    Error failure = fileFailure(what, file, fileErrorReason(error));
    failure.code = error;
    failure.file->reason.clear();  // the code says it
    return failure;
}

Error fileFailure(const char* what, const std::filesystem::path& file, std::string_view reason) {
    return {std::string(what) + " \"" + file.string() + "\": " + std::string(reason), 0,
            FileErrorCause{what, file, std::string(reason)}};
}

bool parseTemporaryName(std::string_view name, pid_t& pid) {
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
        return false;
    }
    name.remove_prefix(kTemporaryPrefix.size());
    name.remove_suffix(kTemporarySuffix.size());
    return parseProcessAndCounter(name, '-', pid);
}

bool parseOldTemporaryName(std::string_view name, std::string_view target, pid_t& pid) {
    if (name.size() <= target.size() + 2 + kTemporarySuffix.size() || !name.starts_with('.') ||
        name.substr(1, target.size()) != target || name[target.size() + 1] != '.' ||
        !name.ends_with(kTemporarySuffix)) {
        return false;
    }
    name.remove_prefix(target.size() + 2);
    name.remove_suffix(kTemporarySuffix.size());
    return parseProcessAndCounter(name, '.', pid);
}

void setTemporaryOpenerForTesting(TemporaryOpener opener) {
    temporaryOpener.store(opener);
}

Status writeFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    ignoreFileSizeSignal();
    std::filesystem::path target;
    if (const int error = replacementTarget(file, target); error != 0) {
        return fileFailure("Cannot save", file, error);
    }
    std::filesystem::path temporary;
    FileDescriptor fd(createTemporaryBeside(target, temporary));
    if (fd.get() < 0) {
        const int error = errno;
        if (mayRewriteInPlace(error, target)) {
            return rewriteInPlace(file, target, bytes, error);
        }
        return fileFailure("Cannot create", file, error);
    }
    auto discard = [&](int error) {
        ::unlink(temporary.c_str());
        return fileFailure("Cannot save", file, error);
    };
    auto refuse = [&](const char* reason) {
        ::unlink(temporary.c_str());
        return fileFailure("Cannot save", file, reason);
    };
    // An existing file keeps its permissions, and one the user may not write stays as it
    // is: the rename alone would replace even a write-protected file.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) {
            return discard(EISDIR);
        }
        if (!S_ISREG(old.st_mode)) {
            return refuse(kNotARegularFile);
        }
        if (::access(target.c_str(), W_OK) != 0) {
            return discard(errno);
        }
        ::fchmod(fd.get(), old.st_mode & 07777);
        // Best effort: only root may hand the file back to another owner.
        [[maybe_unused]] const int ignored = ::fchown(fd.get(), old.st_uid, old.st_gid);
    }
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) {
        return discard(errno);
    }
    if (!fd.close()) {
        return discard(errno);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return discard(errno);
    }
    // Make the rename itself durable; a failure here loses nothing already written.
    FileDescriptor folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());
    }
    removeStaleTemporaries(folderOf(target), target.filename().native());
    return {};
}

Status writeFileAtomically(const std::filesystem::path& file, std::string_view text) {
    return writeFileAtomically(
        file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace qzm
