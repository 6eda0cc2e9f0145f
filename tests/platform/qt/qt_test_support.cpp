#include "tests/platform/qt/qt_test_support.h"

#include "platform/qt/window_handles.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace zarven::qt::test {
namespace {

// One QApplication for the whole test program, on the platform CTest names (offscreen).
struct QtApplicationEnvironment final : ::testing::Environment {
    void SetUp() override { application = std::make_unique<QApplication>(argc, argv); }
    void TearDown() override { application.reset(); }
    int argc = 1;
    char* argv[2] = {const_cast<char*>("qt-backend-test"), nullptr};
    std::unique_ptr<QApplication> application;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

std::vector<UINT> RecordingDialog::Codes() const {
    std::vector<UINT> codes;
    for (const ScrollEvent& event : scrolls) {
        codes.push_back(event.code);
    }
    return codes;
}

void RecordingDialog::OnVScroll(UINT code, UINT pos, int barId) {
    SCROLLINFO info{};
    GetScrollInfo(barId, &info, SIF_TRACKPOS);
    scrolls.push_back({code, pos, barId, info.nTrackPos});
    if (followThumb && (code == SB_THUMBTRACK || code == SB_THUMBPOSITION)) {
        SetScrollPos(barId, info.nTrackPos);
    }
    if (onScroll) {
        onScroll(code);
    }
}

INT_PTR RunModal(RecordingDialog& dialog, const std::function<void(DialogWindow&)>& whileShown) {
    const auto window = [&] {
        return dynamic_cast<DialogWindow*>(WindowOfHandle(dialog.GetSafeHwnd()));
    };
    QObject scope;  // cancels the pending call if the dialog never runs its loop
    QTimer::singleShot(0, &scope, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(window()));
        whileShown(*window());
        if (window() != nullptr && window()->isVisible()) {
            dialog.EndDialog(kLeftOpen);
        }
    });
    return dialog.DoModal();
}

void ClickControl(DialogWindow& window, int id, Qt::MouseButton button) {
    const QWidget* control = window.Control(id);
    QTest::mouseClick(window.windowHandle(), button, {},
                      control->mapTo(&window, control->rect().center()));
}

}  // namespace zarven::qt::test
