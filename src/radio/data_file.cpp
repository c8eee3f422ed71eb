#include "radio/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace qzm {
namespace {

std::string failure(const char* what, const std::filesystem::path& file, int error) {
    return std::string(what) + " \"" + file.string() + "\": " + std::strerror(error);
}

FileResult failed(const char* what, const std::filesystem::path& file, int error) {
    return {false, failure(what, file, error)};
}

// Closes a descriptor on every path out of a function.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so a failing close (a full disk on some file systems) is seen.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

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

std::vector<std::uint8_t> encodeDataFile(const FileHeader& header, const RadioImage& image) {
    std::vector<std::uint8_t> file(header.bytes.begin(), header.bytes.end());
    file.insert(file.end(), image.bytes.begin(), image.bytes.end());
    return file;
}

std::optional<DataFileContents> decodeDataFile(std::span<const std::uint8_t> file) {
    if (file.size() < kDataFileSize) {
        return std::nullopt;
    }
    DataFileContents contents;
    std::copy_n(file.begin(), kFileHeaderSize, contents.header.bytes.begin());
    if (!contents.header.hasMagic()) {
        return std::nullopt;
    }
    std::copy_n(file.begin() + kFileHeaderSize, kImageSize, contents.image.bytes.begin());
    return contents;
}

FileBytes readDataFileBytes(const std::filesystem::path& file) {
    FileBytes out;
    // Non-blocking, so that a named pipe given as a data file cannot hang the program.
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        out.result = failed("Cannot open", file, errno);
        return out;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        out.result = failed("Cannot read", file, errno);
        return out;
    }
    if (!S_ISREG(info.st_mode)) {
        out.result = failed("Cannot open", file, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
        return out;
    }
    out.bytes.resize(kDataFileSize);
    std::size_t have = 0;
    while (have < out.bytes.size()) {
        const ssize_t n = ::read(fd.get(), out.bytes.data() + have, out.bytes.size() - have);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            out.result = failed("Cannot read", file, errno);
            out.bytes.clear();
            return out;
        }
        if (n == 0) {
            break;
        }
        have += static_cast<std::size_t>(n);
    }
    out.bytes.resize(have);
    out.result.ok = true;
    return out;
}

FileResult writeFileAtomically(const std::filesystem::path& file,
                               std::span<const std::uint8_t> bytes) {
    const auto target = replacementTarget(file);
    std::filesystem::path temporary;
    Descriptor fd(createTemporaryBeside(target, temporary));
    if (fd.get() < 0) {
        return failed("Cannot create", file, errno);
    }
    auto discard = [&](int error) {
        ::unlink(temporary.c_str());
        return failed("Cannot save", file, error);
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
    const int folder = ::open(target.has_parent_path() ? target.parent_path().c_str() : ".",
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {true, {}};
}

LoadedDataFile loadDataFile(const std::filesystem::path& file) {
    LoadedDataFile loaded;
    const FileBytes read = readDataFileBytes(file);
    if (!read.result.ok) {
        loaded.errorText = read.result.errorText;
        return loaded;
    }
    if (auto contents = decodeDataFile(read.bytes)) {
        loaded.status = LoadStatus::Loaded;
        loaded.contents = *contents;
    } else {
        loaded.status = LoadStatus::NotADataFile;
    }
    return loaded;
}

FileResult storeDataFile(const std::filesystem::path& file, const FileHeader& header,
                         const RadioImage& image) {
    return writeFileAtomically(file, encodeDataFile(header, image));
}

}  // namespace qzm
