// The machine's files among the user's and other programs': modes, owners, links, temporaries,
// locks, and reads and writes that fail.
#include "tests/support/lock_holder.h"
#include "tests/support/param_name.h"
#include "tests/support/test_machine.h"

#include <grp.h>
#include <sys/resource.h>

namespace emulated_test {
namespace {

namespace fs = std::filesystem;

class FileSafety : public MachineTest {
protected:
    void SetUp() override { ASSERT_EQ(Query(0, JOY_CAL_READVONLY).result, JOYERR_NOERROR); }

    static BOOL WriteProfile(const char* key, const char* value, const std::string& file) {
        return WritePrivateProfileStringA("S", key, value, file.c_str());
    }

    static struct stat StatOf(const fs::path& path) {
        struct stat info {};
        ::lstat(path.c_str(), &info);
        return info;
    }

    fs::path Root() const { return machine_.Prefix().parent_path(); }
};

// Without any write bit a file is read-only, even for root; with one it is replaced keeping its
// owner, group and mode.
TEST_F(FileSafety, ReadOnlyFilesAreLeftAndReplacedOnesKeepOwnerGroupAndMode) {
    Write("windows/p.INI", "[S]\nk=1\n");
    const fs::path files[] = {File("system.reg"), File("joysticks.ini"), File("windows/p.INI")};
    std::vector<std::string> before;
    for (const fs::path& file : files) {
        before.push_back(ReadText(file));
        ::chmod(file.c_str(), 0444);
    }
    Reload();
    EXPECT_EQ(SetText(kSettings, "x", "y"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(QueryTextAt(kSettings, "x"), "error " + std::to_string(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Query(0, JOY_CAL_READZONLY).result, JOYERR_NOCANDO);
    EXPECT_EQ(Query(0, JOY_CAL_READVONLY).info.dwVpos & 1u, 0u) << "stereo still off";
    EXPECT_EQ(WriteProfile("k", "2", "p.INI"), FALSE);
    for (std::size_t i = 0; i < std::size(files); ++i) {
        EXPECT_EQ(ReadText(files[i]), before[i]) << files[i];
        EXPECT_EQ(StatOf(files[i]).st_mode & 07777, 0444u) << files[i];
    }

    const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();  // giving a file away needs root
    const gid_t group = ::geteuid() == 0 ? 65534 : ::getegid();
    ASSERT_EQ(::chown(files[0].c_str(), owner, group), 0);
    ASSERT_EQ(::chmod(files[0].c_str(), 0460), 0);
    ASSERT_EQ(SetText(kSettings, "x", "y"), ERROR_SUCCESS);
    const struct stat after = StatOf(files[0]);
    EXPECT_EQ(std::tuple(after.st_uid, after.st_gid, after.st_mode & 07777),
              std::tuple(owner, group, 0460u));
    EXPECT_EQ(QueryTextAt(kSettings, "x"), "y");
}

// A profile link: the file it names is written (created if missing), a loop fails with one line.
struct LinkCase {
    const char* name;
    const char* linkTarget;  // relative to windows/, or absolute below the test folder with '@'
    const char* written;     // the file that must hold the entry, relative to the test folder
};

class ProfileLinks : public FileSafety, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(ProfileLinks, AreFollowedToTheFileTheyName) {
    const LinkCase& c = GetParam();
    WriteText(Root() / "other/APP.INI", "; mine\n[S]\nold=1\n");
    fs::create_directories(Root() / "sync");
    fs::create_symlink(Root() / "other/APP.INI", Root() / "sync/CHAIN.INI");
    const std::string target = c.linkTarget;
    fs::create_directories(File("windows"));
    fs::create_symlink(target.starts_with('@') ? Root() / target.substr(1) : fs::path(target),
                       File("windows/APP.INI"));

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(WriteProfile("k", "v", "APP.INI"), c.written != nullptr);
    EXPECT_EQ(WriteProfile("k", "w", "APP.INI"), c.written != nullptr);
    EXPECT_EQ(
        ::testing::internal::GetCapturedStderr(),
        c.written ? "" : ErrorLine(File("windows/APP.INI"), ": Too many levels of symbolic links"));
    EXPECT_TRUE(fs::is_symlink(File("windows/APP.INI")));
    EXPECT_NE(c.written ? ReadText(Root() / c.written).find("k=w\n") : 0, std::string::npos);
}

const LinkCase kLinks[] = {{"DanglingIsCreated", "../../sync/APP.INI", "sync/APP.INI"},
                           {"ToAnotherFolder", "@other/APP.INI", "other/APP.INI"},
                           {"ThroughAChain", "@sync/CHAIN.INI", "other/APP.INI"},
                           {"ALoopFailsWithOneLine", "APP.INI", nullptr}};

INSTANTIATE_TEST_SUITE_P(Links, ProfileLinks, ::testing::ValuesIn(kLinks), kByName);

TEST_F(FileSafety, ProfileNamesUpToTheLongestAFolderTakesCanBeWritten) {
    for (const std::size_t length : {241u, 250u, 255u}) {
        const std::string name(length, 'n');
        EXPECT_EQ(WriteProfile("k", "v", name), TRUE) << length;
        EXPECT_EQ(Read("windows/" + name), "[S]\nk=v\n") << length;
    }
}

TEST_F(FileSafety, TheSweepRemovesOnlyTheMachinesOwnTemporariesOfEndedProcesses) {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    const std::string dead = std::to_string(ended);
    const std::string alive = std::to_string(::getpid());
    const std::pair<std::string, bool> files[] = {
        {".system.reg.tmp-" + dead + "-1", false}, {"windows/.P.INI.tmp-" + dead + "-7", false},
        {".system.reg.tmp-" + alive + "-1", true}, {"system.reg.tmp-" + dead + "-1", true},
        {".notes.tmp-" + dead + "-draft", true},   {".notes.tmp-" + dead, true},
        {".x.tmp-" + dead + "-1-" + dead, true},   {".init.tmp-1-1", true}};
    for (const auto& [name, kept] : files) {
        Write(name, "x");
    }
    Reload();
    EXPECT_EQ(Query(0, JOY_CAL_READVONLY).result, JOYERR_NOERROR);
    for (const auto& [name, kept] : files) {
        EXPECT_EQ(fs::exists(File(name)), kept) << name;
    }

    // Without a prefix the machine lives in memory and looks at no folder at all.
    const fs::path cwd = fs::current_path();
    fs::current_path(Root());
    const std::string stray = "windows/.P.INI.tmp-" + dead + "-1";
    WriteText(stray, "x");
    emulated::UsePrefix({});
    EXPECT_EQ(Query(0, JOY_CAL_READVONLY).result, JOYERR_NOERROR);
    EXPECT_TRUE(fs::exists(stray));
    fs::current_path(cwd);
}

// Another program holding the lock: each write gives up after half a second, with one line.
TEST_F(FileSafety, AHeldLockFailsEachWriteInBoundedTime) {
    const LockHolder holder(File(".lock"));
    ASSERT_TRUE(holder.held());
    ::testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SetText(kSettings, "x", "y"), ERROR_WRITE_FAULT);
    EXPECT_EQ(WriteProfile("k", "v", "p.INI"), FALSE);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(2 * 500));
    EXPECT_LT(took, std::chrono::milliseconds(2 * 500 + 1000));
    const std::string refused = ErrorLine(
        File(".lock"), ": held by another program for over 500 ms; the change is refused");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), refused + refused);
}

// A .lock left by a run as root, which a user cannot open for writing.
TEST_F(FileSafety, ALockFileAUserCannotWriteStillLetsTheUserWrite) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "making a file the user cannot write needs root";
    }
    constexpr uid_t kUser = 65534;
    ::chmod(Root().c_str(), 0755);
    for (const auto& entry : fs::recursive_directory_iterator(machine_.Prefix())) {
        ASSERT_EQ(::lchown(entry.path().c_str(), kUser, kUser), 0) << entry.path();
    }
    ASSERT_EQ(::chown(machine_.Prefix().c_str(), kUser, kUser), 0);
    Write(".lock", "");
    ASSERT_EQ(::chown(File(".lock").c_str(), 0, 0), 0);
    ASSERT_EQ(::chmod(File(".lock").c_str(), 0644), 0);

    const pid_t child = ::fork();
    if (child == 0) {
        const bool user = ::setgroups(0, nullptr) == 0 && ::setgid(kUser) == 0 &&
                          ::setuid(kUser) == 0 && ::access(File(".lock").c_str(), W_OK) != 0;
        Reload();
        const bool wrote = SetText(kSettings, "x", "y") == ERROR_SUCCESS &&
                           WriteProfile("k", "v", "p.INI") == TRUE &&
                           Query(0, JOY_CAL_READZONLY).result == JOYERR_NOERROR;
        ::_exit(!user ? 2 : wrote ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: could not become the user; 1: a write failed";
    Reload();
    EXPECT_EQ(QueryTextAt(kSettings, "x"), "y");
}

// Files unread for want of descriptors are read again at the next write, not taken as unreadable.
TEST_F(FileSafety, AReadThatFailedForAPassingReasonIsTriedAgainAtTheNextWrite) {
    Write("windows/p.INI", "[S]\nkept=1\n");
    Reload();
    ::testing::internal::CaptureStderr();
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    rlimit scarce = limit;
    scarce.rlim_cur = static_cast<rlim_t>(lowestFree);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &scarce), 0);
    EXPECT_EQ(SetText("", "x", "1"), ERROR_WRITE_FAULT);
    EXPECT_EQ(WriteProfile("k", "v", "p.INI"), FALSE);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(ErrorLine(File("system.reg"), ": Too many open files")), std::string::npos)
        << said;
    EXPECT_EQ(SetText("", "x", "1"), ERROR_SUCCESS);
    EXPECT_EQ(QueryTextAt(kSettings, "Joystick1OEMName"), "ZARVEN_HMD") << "nothing lost";
    EXPECT_EQ(WriteProfile("k", "v", "p.INI"), TRUE);
    EXPECT_EQ(Read("windows/p.INI"), "[S]\nkept=1\nk=v\n");
}

// A write the file system refuses (over the size limit) leaves the file and no temporary behind.
TEST_F(FileSafety, AWriteTheFileSystemRefusesLeavesNothingBehind) {
    Write("windows/p.INI", "[S]\nkept=1\n");
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4, limit.rlim_max};
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const BOOL written = WriteProfile("k", "v", "p.INI");
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(written, FALSE);
    EXPECT_EQ(Read("windows/p.INI"), "[S]\nkept=1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(File("windows")), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace emulated_test
