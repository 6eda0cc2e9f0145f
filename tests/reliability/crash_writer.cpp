// The crash test's two sides, over the emulated machine in PREFIX:
//   write PREFIX [ROUNDS]: each round stores the next counter n as every DWORD of the
//     Joystick1Configuration record (a torn record shows), then as windows/crash.INI's Counter.
//   check PREFIX [RECORD PROFILE]: a start after a kill: the machine is whole, killed writers'
//     temporaries are gone, the record holds the profile's counter or the next, neither below
//     the given ones. Prints "RECORD PROFILE TEMPORARIES-FOUND"; fails with the reason.
#include "platform/emulated/emulated_machine.h"
#include "platform/emulated/files/ini_text.h"
#include "platform/emulated/joysticks/joystick_slots.h"
#include "platform/emulated/seed.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iostream>

namespace fs = std::filesystem;
constexpr std::size_t kWords = sizeof(JOYREGHWCONFIG) / sizeof(DWORD);
const std::string kRecordName = emulated::ConfigurationValueName(0);

[[noreturn]] void Fail(const std::string& why) {
    std::cerr << "crash_writer: " << why << "\n";
    std::exit(1);
}

HKEY OpenSettings() {
    std::string path = emulated::JoystickSettingsKeyPath(emulated::kDefaultRegKey);
    path.erase(0, path.find('\\') + 1);  // below HKEY_LOCAL_MACHINE
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WRITE, &key) != 0) {
        Fail("cannot open " + path);
    }
    return key;
}

// The counter of a whole record; 0 for any other value (the seed's record among them).
DWORD RecordCounter(HKEY key) {
    std::array<DWORD, kWords + 1> words{};  // one more, so a longer value shows
    DWORD size = sizeof words;
    DWORD type = 0;
    const bool whole = RegQueryValueExA(key, kRecordName.c_str(), nullptr, &type,
                                        reinterpret_cast<BYTE*>(words.data()), &size) == 0 &&
                       type == REG_BINARY && size == kWords * sizeof(DWORD) &&
                       std::count(words.begin(), words.end() - 1, words[0]) == kWords;
    return whole ? words[0] : 0;
}

// 0 when the profile is missing, does not parse or holds no counter.
DWORD ProfileCounter(const fs::path& prefix) {
    std::ostringstream file;
    file << std::ifstream(prefix / "windows" / "crash.INI").rdbuf();
    const auto parsed = emulated::ParseIniText(file.str());
    const std::string text = parsed.ok() ? parsed.value().Get("Crash", "Counter").value_or("") : "";
    DWORD counter = 0;
    std::from_chars(text.data(), text.data() + text.size(), counter);
    return counter;
}

auto Temporaries(const fs::path& prefix) {
    return std::ranges::count_if(fs::recursive_directory_iterator(prefix), [](auto& file) {
        return file.path().filename().string().find(".tmp-") != std::string::npos;
    });
}

void Write(const fs::path& prefix, long rounds) {
    const HKEY key = OpenSettings();
    for (DWORD n = ProfileCounter(prefix) + 1; rounds-- != 0; ++n) {
        std::array<DWORD, kWords> record;
        record.fill(n);
        if (RegSetValueExA(key, kRecordName.c_str(), 0, REG_BINARY,
                           reinterpret_cast<const BYTE*>(record.data()), sizeof record) != 0 ||
            !WritePrivateProfileStringA("Crash", "Counter", std::to_string(n).c_str(),
                                        "crash.INI")) {
            Fail("a write failed");
        }
    }
}

void Check(const fs::path& prefix, DWORD minRecord, DWORD minProfile) {
    if (!fs::exists(prefix / "system.reg") || !fs::exists(prefix / "system.ini") ||
        !fs::exists(prefix / "joysticks.ini")) {
        Fail("a file of the machine is missing");
    }
    const auto found = Temporaries(prefix);
    const HKEY key = OpenSettings();  // the machine starts
    char oemType[64] = "";
    DWORD size = sizeof oemType;
    JOYINFOEX position{};
    position.dwSize = sizeof position;
    position.dwFlags = JOY_RETURNALL;
    if (Temporaries(prefix) != 0 || joyGetPosEx(0, &position) != JOYERR_NOERROR ||
        RegQueryValueExA(key, emulated::OemNameValueName(0).c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(oemType), &size) != 0 ||
        oemType != std::string(emulated::kSeedOemType)) {
        Fail("the start left temporaries or lost the tracker");
    }
    const DWORD record = RecordCounter(key);
    const DWORD profile = ProfileCounter(prefix);
    if (record == 0 || (record != profile && record != profile + 1) || record < minRecord ||
        profile < minProfile) {
        Fail("the record holds " + std::to_string(record) + ", the profile " +
             std::to_string(profile));
    }
    std::cout << record << " " << profile << " " << found << "\n";
}

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    emulated::UsePrefix(argc > 2 ? argv[2] : "");
    if (mode == "write" && argc <= 4) {
        Write(argv[2], argc > 3 ? std::atol(argv[3]) : -1);
    } else if (mode == "check" && (argc == 3 || argc == 5)) {
        Check(argv[2], argc > 3 ? std::atol(argv[3]) : 1, argc > 3 ? std::atol(argv[4]) : 1);
    } else {
        Fail("usage: crash_writer write PREFIX [ROUNDS] | check PREFIX [RECORD PROFILE]");
    }
}
