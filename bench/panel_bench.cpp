// Cost of the panel's repeated work on the emulated machine and the headless double: one
// readout tick (axes unchanged, and axes moving), and one sensitivity notification (the
// record stored durably and the driver notified).
#include "panel/AxesReadout.h"
#include "panel/HeadsetDlg.h"
#include "panel/SensitivityBars.h"
#include "panel/resource.h"
#include "platform/emulated/emulated_machine.h"
#include "platform/headless/headless.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;

// Runs `body` inside an open control panel on a freshly seeded machine in a temporary prefix.
void WithOpenPanel(const std::function<void(CDialog&)>& body) {
    char pattern[] = "/tmp/zarven-bench-XXXXXX";
    const fs::path dir = mkdtemp(pattern);
    emulated::UsePrefix(dir / "zarven-controls");
    headless::Reset();
    {
        CWinApp app;
        CHeadsetDlg panel;
        headless::Run(body);
        headless::PressEscape();
        panel.DoModal();
    }
    fs::remove_all(dir);
    emulated::SetClock(nullptr);
}

void BM_ReadoutTickUnchanged(benchmark::State& state) {
    emulated::SetClock([] { return 1.0; });
    WithOpenPanel([&state](CDialog& panel) {
        PanelState readout;
        RefreshAxesReadout(panel, readout);
        const int writesBefore = headless::TextWrites(panel, IDC_AXIS_X_OUT);
        for (auto _ : state) {
            RefreshAxesReadout(panel, readout);
        }
        state.counters["text_writes"] = headless::TextWrites(panel, IDC_AXIS_X_OUT) - writesBefore;
    });
}
BENCHMARK(BM_ReadoutTickUnchanged);

void BM_ReadoutTickMoving(benchmark::State& state) {
    double seconds = 0.0;
    emulated::SetClock([&seconds] { return seconds; });
    WithOpenPanel([&](CDialog& panel) {
        PanelState readout;
        for (auto _ : state) {
            seconds += 0.02;
            RefreshAxesReadout(panel, readout);
        }
    });
}
BENCHMARK(BM_ReadoutTickMoving);

void BM_SensitivityNotification(benchmark::State& state) {
    WithOpenPanel([&state](CDialog& panel) {
        PanelState sensitivity;
        std::strcpy(sensitivity.caps.szRegKey, "MSJSTICK.DRV");
        sensitivity.yawPosition = 1023;
        UINT code = SB_LINEDOWN;
        for (auto _ : state) {
            OnSensitivityScroll(panel, sensitivity, code, IDC_YAW_BAR);
            code = code == SB_LINEDOWN ? SB_LINEUP : SB_LINEDOWN;
        }
    });
}
BENCHMARK(BM_SensitivityNotification)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
