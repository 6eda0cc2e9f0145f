#include "tests/platform/qt/qt_test_support.h"

#include "platform/qt/window_handles.h"

#include <QApplication>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zarven::qt::test {
namespace {

// One QApplication for the whole test program, on the platform CTest names (offscreen).
class QtApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "qt-backend-test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

DialogWindow* RecordingDialog::Window() const {
    return dynamic_cast<DialogWindow*>(WindowOfHandle(GetSafeHwnd()));
}

std::vector<UINT> RecordingDialog::ScrollCodes() const {
    std::vector<UINT> codes;
    for (const ScrollEvent& event : scrolls) {
        codes.push_back(event.code);
    }
    return codes;
}

BOOL RecordingDialog::OnInitDialog() {
    if (onInit) {
        onInit();
    }
    return CDialog::OnInitDialog();
}

void RecordingDialog::OnClicked(int id) {
    clicks.push_back(id);
    if (onClicked) {
        onClicked(id);
    }
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

void RecordingDialog::OnSysCommand(UINT id, LPARAM lParam) {
    sysCommands.push_back(id);
    CDialog::OnSysCommand(id, lParam);
}

INT_PTR RunModal(RecordingDialog& dialog, const std::function<void(DialogWindow&)>& whileShown) {
    QObject scope;  // cancels the pending call if the dialog never runs its loop
    QTimer::singleShot(0, &scope, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.Window()));
        whileShown(*dialog.Window());
        if (dialog.Window() != nullptr && dialog.Window()->isVisible()) {
            dialog.EndDialog(kLeftOpen);
        }
    });
    return dialog.DoModal();
}

void WhenNestedLoopRuns(std::function<void()> action) {
    QTimer::singleShot(0, qApp, std::move(action));
}

QMessageBox* ShownMessageBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

QPoint ScrollBarPartCentre(const QScrollBar& bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar).center();
}

}  // namespace zarven::qt::test
