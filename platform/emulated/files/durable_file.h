// Files as the machine keeps them: read whole, recognised again by their stamp, replaced
// atomically and durably, and changed only under the prefix's lock.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace emulated {

// How long a change waits for another program to let go of the prefix's lock.
inline constexpr std::chrono::milliseconds kLockWait{500};

// What tells one version of a file from another: a rewrite (a new inode) or an edit in place
// changes it.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

struct FileContents {
    enum class State { kPresent, kAbsent, kUnreadable };
    State state = State::kAbsent;
    std::string bytes;
    FileStamp stamp;
    int error = 0;  // errno when unreadable
};

// Absent when the file or a directory on its path does not exist; unreadable when it is not a
// regular file, is larger than `maxBytes` (EFBIG), or cannot be read.
FileContents ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

// Whether a read failed for a reason that passes (out of descriptors or memory), rather than
// because of the file.
bool IsPassingError(int error);

FileStamp StampOf(const std::filesystem::path& path);

// Writes a temporary file beside the target, flushes it, renames it over the target and flushes
// the directory. A symbolic link is followed to the file it names, which is created when
// missing (ELOOP for a loop). A target without any write bit is read-only, also for root
// (EACCES). The target's mode, and its owner and group where the process may set them, are
// kept. Returns 0 once the rename landed (a failed flush of the directory is then reported on
// standard error), or the errno of the step that failed (the target is then unchanged).
int WriteFileDurably(const std::filesystem::path& path, std::string_view bytes);

// Removes the temporary files in `dir` that WriteFileDurably left behind in processes that no
// longer run (killed between writing and renaming). Those of running processes stay.
void RemoveStaleTemporaries(const std::filesystem::path& dir);

// An exclusive flock on a lock file, held for the object's lifetime. Waits at most `wait` for
// a holder that keeps the lock (stopped, or on a hung folder), longer while programs take turns
// with it, then fails with ETIMEDOUT after one line on standard error. A lock file that cannot
// be opened for writing is locked through a read-only descriptor.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& lockFile,
                      std::chrono::milliseconds wait = kLockWait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    int error() const { return error_; }  // 0 when held

private:
    int Acquire(std::chrono::milliseconds wait);  // 0 or errno

    int fd_ = -1;
    int error_ = 0;
};

}  // namespace emulated
