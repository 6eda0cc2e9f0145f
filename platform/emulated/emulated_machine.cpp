#include "platform/emulated/emulated_machine.h"

#include "platform/emulated/machine_access.h"
#include "platform/linux_input/input_device.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace emulated {

namespace {

constexpr char kPrefixName[] = "zarven-controls";

struct Session {
    std::mutex mutex;
    std::optional<std::filesystem::path> prefix;
    std::unique_ptr<Machine> machine;
    std::function<double()> clock;
    std::shared_ptr<linux_input::DeviceSource> devices;
};

Session& TheSession() {
    static Session session;
    return session;
}

std::filesystem::path AbsoluteOrEmpty(const char* directory) {
    if (directory == nullptr || directory[0] != '/') {
        return {};
    }
    return directory;
}

std::filesystem::path HomeDirectory() {
    std::filesystem::path home = AbsoluteOrEmpty(std::getenv("HOME"));
    if (home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid())) {
            home = AbsoluteOrEmpty(user->pw_dir);
        }
    }
    return home;
}

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

const std::filesystem::path& PrefixOf(Session& session) {
    if (!session.prefix) {
        session.prefix = DefaultPrefix();
    }
    return *session.prefix;
}

template <class Entry>
std::vector<Entry> Copy(const std::deque<Entry>& log) {
    return std::vector<Entry>(log.begin(), log.end());
}

}  // namespace

std::unique_lock<std::mutex> LockSession() {
    return std::unique_lock<std::mutex>(TheSession().mutex);
}

Machine& SessionMachine() {
    Session& session = TheSession();
    if (!session.machine) {
        if (!session.devices) {
            session.devices = linux_input::KernelDeviceSource();
        }
        session.machine = std::make_unique<Machine>(PrefixOf(session), session.devices);
    }
    return *session.machine;
}

double SessionNow() {
    const std::function<double()>& clock = TheSession().clock;
    return clock ? clock() : SteadySeconds();
}

std::filesystem::path DefaultPrefix() {
    std::filesystem::path data = AbsoluteOrEmpty(std::getenv("XDG_DATA_HOME"));
    if (data.empty()) {
        const std::filesystem::path home = HomeDirectory();
        if (home.empty()) {
            return {};
        }
        data = home / ".local" / "share";
    }
    return data / kPrefixName;
}

void UsePrefix(const std::filesystem::path& dir) {
    const auto lock = LockSession();
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(dir, error);
    TheSession().prefix = error ? dir : absolute;
    TheSession().machine.reset();
}

std::filesystem::path CurrentPrefix() {
    const auto lock = LockSession();
    return PrefixOf(TheSession());
}

void SetClock(std::function<double()> secondsNow) {
    const auto lock = LockSession();
    TheSession().clock = std::move(secondsNow);
}

void UseInputDevices(std::shared_ptr<linux_input::DeviceSource> source) {
    const auto lock = LockSession();
    TheSession().devices = std::move(source);
}

std::vector<JoystickQuery> JoystickQueries() {
    const auto lock = LockSession();
    return Copy(SessionMachine().queries());
}

std::vector<DriverMessage> DriverMessages() {
    const auto lock = LockSession();
    return Copy(SessionMachine().messages());
}

void ClearLogs() {
    const auto lock = LockSession();
    SessionMachine().ClearLogs();
}

void SetUnplugged(UINT slot, bool unplugged) {
    const auto lock = LockSession();
    SessionMachine().joysticks().SetUnplugged(slot, unplugged);
}

}  // namespace emulated
