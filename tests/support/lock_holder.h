// Another program holding the prefix's lock; flock locks an open file, so the machine waits on it.
#pragma once

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace emulated_test {

class LockHolder {
public:
    explicit LockHolder(const std::filesystem::path& lockFile)
        : fd_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)),
          held_(fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0) {}
    ~LockHolder() { ::close(fd_); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool held() const { return held_; }

private:
    int fd_;
    bool held_;
};

}  // namespace emulated_test
