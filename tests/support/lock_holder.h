// Another program holding the prefix's lock: a child process that takes it, says so, and keeps
// it until the holder is destroyed (or at most ten seconds).
#pragma once

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace emulated_test {

class LockHolder {
public:
    explicit LockHolder(const std::filesystem::path& lockFile) {
        int ready[2];
        if (::pipe(ready) != 0) {
            return;
        }
        child_ = ::fork();
        if (child_ == 0) {
            const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0644);
            const bool held = fd >= 0 && ::flock(fd, LOCK_EX) == 0;
            if (held && ::write(ready[1], "!", 1) == 1) {
                ::sleep(10);
            }
            ::_exit(held ? 0 : 1);
        }
        ::close(ready[1]);
        char said = 0;
        held_ = child_ > 0 && ::read(ready[0], &said, 1) == 1;
        ::close(ready[0]);
    }
    ~LockHolder() {
        if (child_ > 0) {
            ::kill(child_, SIGKILL);
            ::waitpid(child_, nullptr, 0);
        }
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool held() const { return held_; }

private:
    pid_t child_ = -1;
    bool held_ = false;
};

}  // namespace emulated_test
