#include "platform/emulated/durable_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace emulated {

namespace {

FileStamp StampFrom(const struct stat& info) {
    return FileStamp{
        true,
        static_cast<std::uint64_t>(info.st_dev),
        static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::int64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
        static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec};
}

bool IsAbsence(int error) {
    return error == ENOENT || error == ENOTDIR;
}

// Closes a descriptor when it goes out of scope.
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
    // Closes now, reporting the error a delayed write may give.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int SyncDirectory(const std::filesystem::path& directory) {
    Descriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) {
        return errno;
    }
    // Some file systems cannot flush a directory; the rename is then as durable as they allow.
    return ::fsync(dir.get()) == 0 || errno == EINVAL ? 0 : errno;
}

std::filesystem::path ResolveLink(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target;
}

// Creates a fresh temporary file beside `target`, named after the process so that writers
// never share one. Returns 0 or the errno of the failed open.
int OpenTemporary(const std::filesystem::path& target, std::filesystem::path& temp, int& fd) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = target;
        temp.replace_filename("." + target.filename().string() + ".tmp-" +
                              std::to_string(::getpid()) + "-" + std::to_string(++counter));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

}  // namespace

FileContents ReadWholeFile(const std::filesystem::path& path) {
    FileContents contents;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0) {
        const int error = errno;
        contents.state =
            IsAbsence(error) ? FileContents::State::kAbsent : FileContents::State::kUnreadable;
        contents.error = error;
        return contents;
    }
    contents.state = FileContents::State::kUnreadable;
    if (!S_ISREG(info.st_mode)) {
        contents.error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return contents;
    }
    if (static_cast<std::uint64_t>(info.st_size) > kMaxFileSize) {
        contents.error = EFBIG;
        return contents;
    }
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            contents.error = errno;
            return contents;
        }
        if (got == 0) {
            break;
        }
        contents.bytes.append(buffer, static_cast<std::size_t>(got));
        if (contents.bytes.size() > kMaxFileSize) {
            contents.error = EFBIG;
            return contents;
        }
    }
    contents.state = FileContents::State::kPresent;
    contents.stamp = StampFrom(info);
    return contents;
}

FileStamp StampOf(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? StampFrom(info) : FileStamp{};
}

int WriteFileDurably(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path target = ResolveLink(path);
    std::filesystem::path temp;
    int fd = -1;
    if (const int openError = OpenTemporary(target, temp, fd); openError != 0) {
        return openError;
    }
    Descriptor file(fd);
    struct stat old {};
    int error = 0;
    if (::stat(target.c_str(), &old) == 0 && ::fchmod(file.get(), old.st_mode & 07777) != 0) {
        error = errno;
    }
    if (error == 0) {
        error = WriteAll(file.get(), bytes);
    }
    if (error == 0 && ::fsync(file.get()) != 0) {
        error = errno;
    }
    if (const int closeError = file.Close(); error == 0) {
        error = closeError;
    }
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        return error;
    }
    return SyncDirectory(target.parent_path());
}

void RemoveStaleTemporaries(const std::filesystem::path& dir) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(dir, error), end; !error && entry != end;
         entry.increment(error)) {
        // ".<name>.tmp-<pid>-<n>", as OpenTemporary names them.
        const std::string name = entry->path().filename().string();
        const std::size_t tag = name.rfind(".tmp-");
        if (name.front() != '.' || tag == std::string::npos) {
            continue;
        }
        const long pid = std::strtol(name.c_str() + tag + 5, nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            ::unlink(entry->path().c_str());
        }
    }
}

FileLock::FileLock(const std::filesystem::path& lockFile) {
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            error_ = errno;
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

}  // namespace emulated
