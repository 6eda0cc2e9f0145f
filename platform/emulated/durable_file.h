// Files as the machine keeps them: read whole, recognised again by their stamp, replaced
// atomically and durably, and changed only under the prefix's lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace emulated {

// Largest file read; a larger one is unreadable.
inline constexpr std::size_t kMaxFileSize = 64 * 1024 * 1024;

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
// regular file, is larger than kMaxFileSize, or cannot be read.
FileContents ReadWholeFile(const std::filesystem::path& path);

FileStamp StampOf(const std::filesystem::path& path);

// Writes a temporary file beside the target, flushes it, renames it over the target (through a
// symbolic link, to the file it names) and flushes the directory. Keeps the target's permission
// bits. Returns 0, or the errno of the step that failed (the target is then unchanged).
int WriteFileDurably(const std::filesystem::path& path, std::string_view bytes);

// Removes the temporary files in `dir` that WriteFileDurably left behind in processes that no
// longer run (killed between writing and renaming). Those of running processes stay.
void RemoveStaleTemporaries(const std::filesystem::path& dir);

// An exclusive flock on a lock file, held for the object's lifetime.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& lockFile);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    int error() const { return error_; }  // 0 when held

private:
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace emulated
