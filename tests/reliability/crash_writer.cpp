// The crash test's two sides, run against an emulated machine in PREFIX:
//   crash_writer write PREFIX JOURNAL [ROUNDS]
//     writes, round after round (until killed, or ROUNDS rounds), a new counter into the
//     Joystick1Configuration record (RegSetValueExA) and into crash.INI
//     (WritePrivateProfileStringA), noting in JOURNAL each value before and after its write.
//   crash_writer check PREFIX JOURNAL
//     a fresh process: every file of the prefix must parse, and each item hold the value last
//     known to be stored or the one being written when the writer died. Notes what it found in
//     JOURNAL and prints "reg <how> ini <how> temporaries <n>", where <how> is settled (no
//     write was cut), kept (a cut write left the old value) or landed (it left the new one).
// Exit status: 0 fine, 1 the check failed, 2 the test could not run.
#include "platform/emulated/emulated_machine.h"
#include "platform/emulated/files/ini_text.h"
#include "platform/emulated/joysticks/joystick_slots.h"
#include "platform/emulated/files/registry_text.h"
#include "platform/win32api.h"
#include "tests/reliability/crash_journal.h"
#include "tests/reliability/crash_record.h"
#include "tracker/RegistryPaths.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using crash::Entry;
using crash::Event;
using crash::Item;

constexpr char kProfile[] = "crash.INI";
constexpr char kProfileSection[] = "Crash";
constexpr char kProfileKey[] = "Counter";
constexpr UINT kSlot = 0;

[[noreturn]] void Stop(int status, const std::string& message) {
    std::cerr << "crash_writer: " << message << "\n";
    std::exit(status);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<Entry> ReadJournal(const fs::path& path) {
    const auto journal = crash::ParseJournal(ReadFile(path));
    if (!journal) {
        Stop(2, "the journal " + path.string() + " is malformed");
    }
    return *journal;
}

// The slot's settings key, as the panel opens it.
std::string SettingsKey() {
    char path[kRegistryPathSize];
    if (!FormatJoystickSettingsPath(path, std::string(emulated::kDefaultRegKey).c_str())) {
        Stop(2, "the settings key does not fit");
    }
    return path;
}

HKEY OpenSettings(REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SettingsKey().c_str(), 0, access, &key) !=
        ERROR_SUCCESS) {
        Stop(2, "cannot open " + SettingsKey());
    }
    return key;
}

int Write(const fs::path& journalPath, long rounds) {
    std::uint32_t counter = crash::NextCounter(ReadJournal(journalPath));
    crash::JournalFile journal(journalPath);
    if (!journal.ok()) {
        Stop(2, "cannot open the journal " + journalPath.string());
    }
    const auto note = [&](Item item, Event event) {
        if (!journal.Append({item, event, counter})) {
            Stop(2, "cannot write the journal");
        }
    };
    const std::string valueName = emulated::ConfigurationValueName(kSlot);
    HKEY key = OpenSettings(KEY_SET_VALUE);
    for (long round = 0; rounds < 0 || round < rounds; ++round, ++counter) {
        const auto record = crash::CounterRecord(counter);
        note(Item::kRegistry, Event::kIntend);
        if (RegSetValueExA(key, valueName.c_str(), 0, REG_BINARY, record.data(),
                           static_cast<DWORD>(record.size())) != ERROR_SUCCESS) {
            Stop(2, "RegSetValueExA failed");
        }
        note(Item::kRegistry, Event::kDone);

        const std::string text = std::to_string(counter);
        note(Item::kProfile, Event::kIntend);
        if (!WritePrivateProfileStringA(kProfileSection, kProfileKey, text.c_str(), kProfile)) {
            Stop(2, "WritePrivateProfileStringA failed");
        }
        note(Item::kProfile, Event::kDone);
    }
    RegCloseKey(key);
    return 0;
}

// Parses every file the machine keeps in the prefix with the machine's own parsers; counts
// the temporary files that killed writers left behind.
int CheckFilesParse(const fs::path& prefix, int& temporaries) {
    int failures = 0;
    for (const auto& file : fs::recursive_directory_iterator(prefix)) {
        const std::string name = file.path().filename().string();
        if (!file.is_regular_file()) {
            continue;
        }
        if (name.front() == '.') {
            temporaries += name.find(".tmp-") != std::string::npos;
            continue;
        }
        const std::string text = ReadFile(file.path());
        const bool parses = name == "system.reg" ? emulated::ParseRegistryText(text).ok()
                                                 : emulated::ParseIniText(text).ok();
        if (!parses) {
            std::cerr << "crash_writer: " << file.path().string() << " does not parse\n";
            ++failures;
        }
    }
    return failures;
}

std::optional<std::uint32_t> StoredRecordCounter() {
    HKEY key = OpenSettings(KEY_QUERY_VALUE);
    BYTE data[2 * crash::kRecordSize];
    DWORD size = sizeof data;
    DWORD type = 0;
    const LONG status = RegQueryValueExA(key, emulated::ConfigurationValueName(kSlot).c_str(),
                                         nullptr, &type, data, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_BINARY) {
        return std::nullopt;
    }
    return crash::CounterOfRecord(std::span<const BYTE>(data, size));
}

// 0 when the profile has no entry yet.
std::optional<std::uint32_t> StoredProfileCounter(const fs::path& prefix) {
    const fs::path path = prefix / "windows" / kProfile;
    if (!fs::exists(path)) {
        return 0;
    }
    const auto document = emulated::ParseIniText(ReadFile(path));
    if (!document.ok()) {
        return std::nullopt;
    }
    const auto text = document.value().Get(kProfileSection, kProfileKey);
    if (!text) {
        return 0;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size()) {
        return std::nullopt;
    }
    return value;
}

// Compares what an item holds with what the journal allows; returns how a cut write ended.
const char* Judge(const char* name, std::optional<std::uint32_t> stored,
                  const crash::Acceptable& acceptable, int& failures) {
    if (!stored || !acceptable.Allows(*stored)) {
        std::cerr << "crash_writer: " << name << " holds "
                  << (stored ? std::to_string(*stored) : "no whole value") << ", expected "
                  << acceptable.settled
                  << (acceptable.pending ? " or " + std::to_string(*acceptable.pending) : "")
                  << "\n";
        ++failures;
        return "bad";
    }
    if (!acceptable.pending) {
        return "settled";
    }
    return *stored == *acceptable.pending ? "landed" : "kept";
}

int Check(const fs::path& prefix, const fs::path& journalPath) {
    const std::vector<Entry> entries = ReadJournal(journalPath);
    int temporaries = 0;
    int failures = CheckFilesParse(prefix, temporaries);

    const std::optional<std::uint32_t> record = StoredRecordCounter();
    const std::optional<std::uint32_t> profile = StoredProfileCounter(prefix);
    const char* recordHow = Judge("the configuration record", record,
                                  crash::AcceptableValues(entries, Item::kRegistry), failures);
    const char* profileHow =
        Judge("crash.INI", profile, crash::AcceptableValues(entries, Item::kProfile), failures);
    if (failures != 0) {
        return 1;
    }
    crash::JournalFile journal(journalPath);
    if (!journal.Append({Item::kRegistry, Event::kSeen, *record}) ||
        !journal.Append({Item::kProfile, Event::kSeen, *profile})) {
        Stop(2, "cannot write the journal");
    }
    std::cout << "reg " << recordHow << " ini " << profileHow << " temporaries " << temporaries
              << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc < 4 || (mode != "write" && mode != "check") || (mode == "check" && argc != 4)) {
        Stop(2, "usage: crash_writer write PREFIX JOURNAL [ROUNDS] | check PREFIX JOURNAL");
    }
    const fs::path prefix = argv[2];
    const fs::path journal = argv[3];
    emulated::UsePrefix(prefix);
    if (mode == "write") {
        return Write(journal, argc > 4 ? std::atol(argv[4]) : -1);
    }
    return Check(prefix, journal);
}
