#include "platform/emulated/files/durable_file.h"

#include "platform/emulated/files/file_problem.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <new>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
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

FileStamp StampOfDescriptor(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? StampFrom(info) : FileStamp{};
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

// Enough for any honest chain of links; the platform's own limit is of this order.
constexpr int kMaxLinkHops = 40;
constexpr std::string_view kTemporaryTag = ".tmp-";

// Turns `path` into the file it names once symbolic links are followed; that file may not
// exist yet. Returns 0, or ELOOP.
int FollowLinks(std::filesystem::path& path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        const std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error) {
            return 0;  // not a link, or nothing there yet
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return ELOOP;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The pid in a name ".<file>.tmp-<pid>-<n>" that OpenTemporary made, or 0 for any other name.
long TemporaryOwner(std::string_view name) {
    const std::size_t tag = name.rfind(kTemporaryTag);
    if (!name.starts_with('.') || tag == std::string_view::npos || tag == 0) {
        return 0;
    }
    const std::string_view numbers = name.substr(tag + kTemporaryTag.size());
    const std::size_t dash = numbers.find('-');
    const std::string_view pid = numbers.substr(0, dash);
    // At most nine digits: every pid fits, and the number cannot overflow.
    if (dash == std::string_view::npos || pid.size() > 9 || !AllDigits(pid) ||
        !AllDigits(numbers.substr(dash + 1))) {
        return 0;
    }
    return std::stol(std::string(pid));
}

// Creates a fresh temporary file beside `target`, named after the process so that writers
// never share one, and cut to the longest name the folder takes. Returns 0 or the errno of the
// failed open.
int OpenTemporary(const std::filesystem::path& target, std::filesystem::path& temp, int& fd) {
    static std::atomic<unsigned> counter = 0;
    const std::string name = target.filename().string();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string tag = std::string(kTemporaryTag) + std::to_string(::getpid()) + "-" +
                                std::to_string(++counter);
        temp = target;
        temp.replace_filename("." + name.substr(0, NAME_MAX - 1 - tag.size()) + tag);
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

// Gives the new file the old one's owner (where the process may) and mode. Returns 0 or errno.
int TakeOverOwnerAndMode(int fd, const struct stat& old) {
    // Only root, or an owner giving a group it belongs to, may; anyone else keeps the file.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) {
        return errno;
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
}

// The rename landed, so the write is stored; a directory that cannot be flushed is said once.
void ReportUnflushedDirectory(const std::filesystem::path& directory, int error) {
    static std::atomic_flag reported;
    if (error != 0 && !reported.test_and_set()) {
        ReportFileProblem(directory, nullptr, error);
    }
}

}  // namespace

FileContents ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
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
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
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
        if (contents.bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
            contents.error = EFBIG;
            return contents;
        }
        try {
            contents.bytes.append(buffer, static_cast<std::size_t>(got));
        } catch (const std::bad_alloc&) {
            contents.bytes = {};
            contents.error = ENOMEM;
            return contents;
        }
    }
    contents.state = FileContents::State::kPresent;
    contents.stamp = StampFrom(info);
    return contents;
}

bool IsPassingError(int error) {
    return error == EMFILE || error == ENFILE || error == ENOMEM || error == ENOBUFS ||
           error == EAGAIN || error == EINTR;
}

FileStamp StampOf(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? StampFrom(info) : FileStamp{};
}

int WriteFileDurably(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path target = path;
    if (const int loop = FollowLinks(target); loop != 0) {
        return loop;
    }
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && (old.st_mode & 0222) == 0) {
        return EACCES;  // read-only, as the platform's read-only attribute
    }
    std::filesystem::path temp;
    int fd = -1;
    if (const int openError = OpenTemporary(target, temp, fd); openError != 0) {
        return openError;
    }
    Descriptor file(fd);
    int error = replacing ? TakeOverOwnerAndMode(file.get(), old) : 0;
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
    ReportUnflushedDirectory(target.parent_path(), SyncDirectory(target.parent_path()));
    return 0;
}

void RemoveStaleTemporaries(const std::filesystem::path& dir) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(dir, error), end; !error && entry != end;
         entry.increment(error)) {
        const long pid = TemporaryOwner(entry->path().filename().string());
        std::error_code typeError;
        if (pid > 0 && entry->is_regular_file(typeError) && !entry->is_symlink(typeError) &&
            ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            ::unlink(entry->path().c_str());
        }
    }
}

FileLock::FileLock(const std::filesystem::path& lockFile, std::chrono::milliseconds wait) {
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0 && (errno == EACCES || errno == EROFS)) {
        fd_ = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);  // flock needs no write access
    }
    error_ = fd_ < 0 ? errno : Acquire(wait);
    if (error_ == ETIMEDOUT) {
        const ParseError timeout{0, "held by another program for over " +
                                        std::to_string(wait.count()) +
                                        " ms; the change is refused"};
        ReportFileProblem(lockFile, &timeout, 0);
    }
    if (error_ != 0 && fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

int FileLock::Acquire(std::chrono::milliseconds wait) {
    // Each holder touches the lock file, so a waiter sees the lock change hands: programs that
    // take turns keep it waiting (up to ten times `wait`), one that holds on does not.
    const auto start = std::chrono::steady_clock::now();
    auto giveUp = start + wait;
    FileStamp holder = StampOfDescriptor(fd_);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return errno;
        }
        const auto now = std::chrono::steady_clock::now();
        if (const FileStamp seen = StampOfDescriptor(fd_); seen != holder) {
            holder = seen;
            giveUp = std::min(now + wait, start + 10 * wait);
        }
        if (now >= giveUp) {
            return ETIMEDOUT;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::futimens(fd_, nullptr);  // fails harmlessly on a lock file this process may not touch
    return 0;
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

}  // namespace emulated
