// What a sensitivity-bar step costs on the emulated machine: storing the 112-byte joystick
// configuration record (a durable write of system.reg), reading it back from memory, and one
// readout poll of the tracker. Runs in a temporary prefix on the machine's disk.
#include "platform/emulated/emulated_machine.h"
#include "platform/win32api.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr char kSettings[] =
    "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\MSJSTICK."
    "DRV\\CurrentJoystickSettings";

// A fresh seeded prefix for one benchmark, removed afterwards.
class TemporaryMachine {
public:
    TemporaryMachine() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zarven-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        directory_ = pattern;
        emulated::UsePrefix(directory_ / "prefix");
    }
    ~TemporaryMachine() {
        emulated::UsePrefix(directory_ / "gone");
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }

private:
    std::filesystem::path directory_;
};

HKEY OpenSettings() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettings, 0, KEY_READ | KEY_WRITE, &key) !=
        ERROR_SUCCESS) {
        std::abort();
    }
    return key;
}

// Each write timed on its own: the median and the 90th percentile, in microseconds, are the
// counters "median_us" and "p90_us".
void BM_StoreConfigurationRecord(benchmark::State& state) {
    TemporaryMachine machine;
    HKEY key = OpenSettings();
    BYTE record[112] = {};
    std::vector<double> micros;
    for (auto _ : state) {
        ++record[12];
        const auto start = std::chrono::steady_clock::now();
        if (RegSetValueExA(key, "Joystick1Configuration", 0, REG_BINARY, record, sizeof record) !=
            ERROR_SUCCESS) {
            state.SkipWithError("write failed");
        }
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    RegCloseKey(key);
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p90_us"] = micros[micros.size() * 9 / 10];
}
BENCHMARK(BM_StoreConfigurationRecord)->Unit(benchmark::kMicrosecond)->Iterations(1000);

void BM_ReadConfigurationRecord(benchmark::State& state) {
    TemporaryMachine machine;
    HKEY key = OpenSettings();
    BYTE record[112];
    for (auto _ : state) {
        DWORD size = sizeof record;
        benchmark::DoNotOptimize(
            RegQueryValueExA(key, "Joystick1Configuration", nullptr, nullptr, record, &size));
    }
    RegCloseKey(key);
}
BENCHMARK(BM_ReadConfigurationRecord)->Unit(benchmark::kNanosecond);

void BM_PollTrackerAxes(benchmark::State& state) {
    TemporaryMachine machine;
    JOYINFOEX info{};
    info.dwSize = sizeof info;
    for (auto _ : state) {
        info.dwFlags = JOY_RETURNALL;
        benchmark::DoNotOptimize(joyGetPosEx(0, &info));
    }
    emulated::ClearLogs();
}
BENCHMARK(BM_PollTrackerAxes)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
