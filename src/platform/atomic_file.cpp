#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/file_descriptor.h"

namespace qzm {
namespace {

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

// The file a symbolic link points at is the one to replace, not the link itself.
std::filesystem::path replacementTarget(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_symlink(file, ec)) {
        auto resolved = std::filesystem::weakly_canonical(file, ec);
        if (!ec) {
            return resolved;
        }
    }
    return file;
}

// A temporary file beside `target`, created with the usual permissions so that the umask
// applies; its name is written to `name`.
int createTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& name) {
    static std::atomic<unsigned> counter{0};
    const auto folder = target.has_parent_path() ? target.parent_path() : ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                         std::to_string(counter++) + ".tmp");
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

FileResult fileFailure(const char* what, const std::filesystem::path& file, int error) {
    return {false, std::string(what) + " \"" + file.string() + "\": " + std::strerror(error)};
}

FileResult writeFileAtomically(const std::filesystem::path& file,
                               std::span<const std::uint8_t> bytes) {
    const auto target = replacementTarget(file);
    std::filesystem::path temporary;
    FileDescriptor fd(createTemporaryBeside(target, temporary));
    if (fd.get() < 0) {
        return fileFailure("Cannot create", file, errno);
    }
    auto discard = [&](int error) {
        ::unlink(temporary.c_str());
        return fileFailure("Cannot save", file, error);
    };
    // An existing file keeps its permissions, and one the user may not write stays as it
    // is: the rename alone would replace even a write-protected file.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) {
            return discard(S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
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
    FileDescriptor folder(::open(target.has_parent_path() ? target.parent_path().c_str() : ".",
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());
    }
    return {true, {}};
}

FileResult writeFileAtomically(const std::filesystem::path& file, std::string_view text) {
    return writeFileAtomically(
        file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace qzm
