#include "platform/emulated/machine.h"

#include "platform/emulated/files/ini_text.h"
#include "platform/emulated/files/registry_text.h"
#include "platform/emulated/seed.h"

#include <algorithm>
#include <cerrno>

namespace emulated {

namespace {

// Empty when there is no prefix: the machine then lives in memory only.
std::filesystem::path In(const std::filesystem::path& prefix, const char* name) {
    return prefix.empty() ? std::filesystem::path() : prefix / name;
}

template <class Entry>
void Append(std::deque<Entry>& log, Entry entry) {
    log.push_back(std::move(entry));
    if (log.size() > kMaxLoggedCalls) {
        log.pop_front();
    }
}

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
               std::filesystem::file_type::not_found &&
           !error;
}

template <class Document>
void AssumeSeed(StoredDocument<Document>& file, Parsed<Document> (*parse)(std::string_view),
                const std::string& text) {
    if (!Exists(file.path())) {
        file.Assume(parse(text).value());
    }
}

}  // namespace

Machine::Machine(const std::filesystem::path& prefix,
                 std::shared_ptr<linux_input::DeviceSource> devices)
    : prefix_(prefix),
      registryFile_(In(prefix, "system.reg"), In(prefix, ".lock"), kRegistryLimits,
                    ParseRegistryText, FormatRegistryText),
      systemIni_(In(prefix, "system.ini"), In(prefix, ".lock"), kIniLimits, ParseIniText,
                 FormatIniText),
      joysticksIni_(In(prefix, "joysticks.ini"), In(prefix, ".lock"), kIniLimits, ParseIniText,
                    FormatIniText),
      inputDevicesIni_(In(prefix, "input-devices.ini"), In(prefix, ".lock"), kIniLimits,
                       ParseIniText, FormatIniText),
      inputSlotsIni_(In(prefix, "input-slots.ini"), In(prefix, ".lock"), kIniLimits, ParseIniText,
                     FormatIniText),
      registry_(registryFile_),
      realJoysticks_(std::move(devices), inputDevicesIni_, inputSlotsIni_, registryFile_),
      joysticks_(joysticksIni_, realJoysticks_),
      drivers_(systemIni_,
               [this] {
                   joysticks_.LoadCalibration(registryFile_.document());
                   realJoysticks_.RecordsChanged();
               }),
      profiles_(In(prefix, "windows"), In(prefix, ".lock")) {}

void Machine::EnsureLoaded() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    if (!prefix_.empty()) {  // without a prefix there is nothing of the machine's to sweep
        RemoveStaleTemporaries(prefix_);
        RemoveStaleTemporaries(prefix_ / "windows");
    }
    const bool seeded = SeedIfEmpty();
    registryFile_.Load();
    systemIni_.Load();
    joysticksIni_.Load();
    if (!seeded) {
        AssumeSeed(registryFile_, ParseRegistryText, SeedRegistryText());
        AssumeSeed(systemIni_, ParseIniText, SeedSystemIniText());
        AssumeSeed(joysticksIni_, ParseIniText, SeedJoysticksIniText());
    }
    inputDevicesIni_.Load();
    inputSlotsIni_.Load();
    realJoysticks_.Discover(joysticksIni_.document());
    registry_.SetOverlay(realJoysticks_.OemNames());
    joysticks_.LoadCalibration(registryFile_.document());
    devicesNotCalibrated_ = realJoysticks_.ApplyBoundRecords();
}

bool Machine::SeedIfEmpty() {
    const std::pair<const std::filesystem::path*, std::string> seeds[] = {
        {&registryFile_.path(), SeedRegistryText()},
        {&systemIni_.path(), SeedSystemIniText()},
        {&joysticksIni_.path(), SeedJoysticksIniText()}};
    // Present while seeding: a seeding cut short (the process killed) is finished next time.
    const std::filesystem::path marker = prefix_ / ".seeding";
    const auto seeded = [&] {
        return !Exists(marker) && std::any_of(std::begin(seeds), std::end(seeds),
                                              [](const auto& seed) { return Exists(*seed.first); });
    };
    if (prefix_.empty()) {
        return false;
    }
    if (seeded()) {
        return true;
    }
    std::error_code error;
    std::filesystem::create_directories(prefix_, error);
    if (!std::filesystem::is_directory(prefix_)) {
        ReportFileProblem(prefix_, nullptr,
                          error && error.value() != EEXIST ? error.value() : ENOTDIR);
        return false;
    }
    FileLock lock(prefix_ / ".lock");
    if (lock.error() != 0) {
        if (lock.error() != ETIMEDOUT) {  // a timeout has been reported by the lock
            ReportFileProblem(prefix_, nullptr, lock.error());
        }
        return false;
    }
    if (seeded()) {
        return true;  // another process seeded it meanwhile
    }
    if (const int markError = WriteFileDurably(marker, ""); markError != 0) {
        ReportFileProblem(marker, nullptr, markError);
        return false;
    }
    for (const auto& [path, text] : seeds) {
        if (Exists(*path)) {
            continue;  // written before an earlier seeding was cut short; files land whole
        }
        if (const int writeError = WriteFileDurably(*path, text); writeError != 0) {
            ReportFileProblem(*path, nullptr, writeError);
            return false;
        }
    }
    std::filesystem::remove(marker, error);
    return true;
}

void Machine::Log(JoystickQuery query) {
    Append(queries_, query);
}

void Machine::Log(DriverMessage message) {
    Append(messages_, std::move(message));
}

void Machine::ClearLogs() {
    queries_.clear();
    messages_.clear();
}

}  // namespace emulated
