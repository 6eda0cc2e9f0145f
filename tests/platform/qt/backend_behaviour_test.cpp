// What the panel relies on of the Qt backend beyond closing and scrolling: check boxes that
// toggle before they report, the ways of closing that cancel, the about box modal and centred
// over the panel, an owner-less box that leaves the panel working, thumb clamping, whole-text
// replacement and the system menu's items.
#include "panel/resource.h"
#include "platform/qt/scroll_bar.h"
#include "tests/platform/qt/qt_test_support.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zarven::qt::test {
namespace {

constexpr UINT_PTR kReadoutTimer = 0xE001;

// Records each click with the check state the program sees while handling it.
class ClickRecordingDialog : public RecordingDialog {
public:
    using RecordingDialog::RecordingDialog;
    std::vector<std::pair<int, UINT>> clicks;  // id, IsDlgButtonChecked(id) at the click

protected:
    void OnClicked(int id) override { clicks.emplace_back(id, IsDlgButtonChecked(id)); }
};

// A click as the window system delivers it, to the window: a modal window in the way blocks it.
void ClickControl(DialogWindow& window, int id) {
    const QWidget* control = window.Control(id);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                      control->mapTo(&window, control->rect().center()));
}

// The open popup menu, once it is shown.
QMenu* OpenMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The top-level message box that is showing.
QMessageBox* ShownMessageBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

TEST(QtBackendTest, AutomaticCheckBoxTogglesThenReports) {
    ClickRecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        ClickControl(window, IDC_POWER_SAVER);
        ClickControl(window, IDC_POWER_SAVER);
        ClickControl(window, IDC_STEREO_MODE);
    });
    const std::vector<std::pair<int, UINT>> expected = {
        {IDC_POWER_SAVER, BST_CHECKED}, {IDC_POWER_SAVER, BST_UNCHECKED}, {IDC_STEREO_MODE, 1}};
    EXPECT_EQ(dialog.clicks, expected);
}

// Alt+F4 and the system menu's Close are the close command, which cancels: result 2.
TEST(QtBackendTest, AltF4AndTheMenusCloseEndWithCancel) {
    RecordingDialog byKey(IDD_CONTROL_PANEL);
    EXPECT_EQ(RunModal(byKey,
                       [](DialogWindow& window) {
                           QTest::keyClick(&window, Qt::Key_F4, Qt::AltModifier);
                       }),
              IDCANCEL);

    RecordingDialog byMenu(IDD_CONTROL_PANEL);
    EXPECT_EQ(RunModal(byMenu,
                       [](DialogWindow& window) {
                           QTimer::singleShot(0, qApp, [] {
                               QMenu* menu = OpenMenu();
                               ASSERT_NE(menu, nullptr);
                               menu->setActiveAction(menu->actions().front());
                               QTest::keyClick(menu, Qt::Key_Return);
                           });
                           window.OpenSystemMenu(window.mapToGlobal(QPoint(10, 10)));
                       }),
              IDCANCEL);
}

// The platform's Close first, then what the program appended, in order.
TEST(QtBackendTest, SystemMenuHoldsCloseThenTheAppendedItems) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    std::vector<std::string> items;
    RunModal(dialog, [&](DialogWindow& window) {
        CMenu* menu = dialog.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->AppendMenu(MF_SEPARATOR));
        EXPECT_TRUE(menu->AppendMenu(MF_STRING, IDM_ABOUT, "&About ZARVEN Controls..."));
        QTimer::singleShot(0, qApp, [&] {
            QMenu* shown = OpenMenu();
            ASSERT_NE(shown, nullptr);
            for (const QAction* action : shown->actions()) {
                items.push_back(action->isSeparator() ? "-" : action->text().toStdString());
            }
            shown->close();
        });
        window.OpenSystemMenu(window.mapToGlobal(QPoint(10, 10)));
    });
    const std::vector<std::string> expected = {"&Close\tAlt+F4", "-", "&About ZARVEN Controls..."};
    EXPECT_EQ(items, expected);
}

TEST(QtBackendTest, AboutBoxIsModalOverThePanelAndCentredOnIt) {
    ClickRecordingDialog panel(IDD_CONTROL_PANEL);
    RecordingDialog about(IDD_ABOUTBOX, &panel);
    INT_PTR aboutResult = 0;
    RunModal(panel, [&](DialogWindow& panelWindow) {
        aboutResult = RunModal(about, [&](DialogWindow& aboutWindow) {
            EXPECT_EQ(QApplication::activeModalWidget(), &aboutWindow);
            EXPECT_EQ(aboutWindow.windowModality(), Qt::WindowModal);
            const QPoint offset = aboutWindow.geometry().center() - panelWindow.geometry().center();
            EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << ", " << offset.y();
            ClickControl(panelWindow, IDC_SET_ZERO);  // blocked while the about box is open
            QTest::keyClick(&aboutWindow, Qt::Key_Return);
        });
        ClickControl(panelWindow, IDC_SET_ZERO);  // the panel takes input again
    });
    EXPECT_EQ(aboutResult, IDOK);
    EXPECT_EQ(panel.clicks, (std::vector<std::pair<int, UINT>>{{IDC_SET_ZERO, 0}}));
}

// A box without owner blocks nothing: the panel's timer ticks and a click reaches it.
TEST(QtBackendTest, OwnerlessBoxLeavesThePanelWorking) {
    ClickRecordingDialog panel(IDD_CONTROL_PANEL);
    std::size_t ticksDuringBox = 0;
    RunModal(panel, [&](DialogWindow& window) {
        panel.SetTimer(kReadoutTimer, 20);
        QTimer::singleShot(0, qApp, [&] {  // runs inside the box's event loop
            QMessageBox* box = ShownMessageBox();
            ASSERT_NE(box, nullptr);
            const std::size_t before = panel.ticks.size();
            ClickControl(window, IDC_SET_ZERO);
            QTest::qWait(150);
            ticksDuringBox = panel.ticks.size() - before;
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(MessageBoxA(nullptr, "Driver not loaded", "Error", MB_OK), IDOK);
    });
    EXPECT_GE(ticksDuringBox, 3u);
    EXPECT_EQ(panel.clicks, (std::vector<std::pair<int, UINT>>{{IDC_SET_ZERO, 0}}));
}

TEST(QtBackendTest, ThumbIsClampedIntoTheRange) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        dialog.SetScrollRange(IDC_ROLL_BAR, 0, 2047);
        const auto& bar = *window.ControlAs<Win32ScrollBar>(IDC_ROLL_BAR);
        const std::pair<int, int> cases[] = {{-353, 0}, {2048, 2047}, {1023, 1023}};
        for (const auto& [asked, shown] : cases) {
            dialog.SetScrollPos(IDC_ROLL_BAR, asked);
            EXPECT_EQ(dialog.GetScrollPos(IDC_ROLL_BAR), shown) << asked;
            EXPECT_EQ(bar.value(), shown) << asked;
        }
    });
}

TEST(QtBackendTest, SetDlgItemTextReplacesTheWholeText) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        auto* box = window.ControlAs<QLineEdit>(IDC_AXIS_X_OUT);
        ASSERT_NE(box, nullptr);
        box->setFocus();
        QTest::keyClicks(box, "12345");
        box->setCursorPosition(2);
        dialog.SetDlgItemText(IDC_AXIS_X_OUT, "7");
        EXPECT_EQ(box->text(), "7");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_AXIS_X_OUT), "7");
        dialog.SetDlgItemText(IDC_AXIS_X_OUT, "");
        EXPECT_EQ(box->text(), "");
    });
}

// Counts the paint events of the widgets it watches.
class PaintCounter final : public QObject {
public:
    std::map<const QObject*, int> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints[watched];
        }
        return false;
    }
};

// A readout box whose text changes repaints alone, not the dialog and group box behind it.
TEST(QtBackendTest, ChangedEditTextRepaintsTheBoxAlone) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        QWidget* box = window.Control(IDC_AXIS_X_OUT);
        QWidget* group = window.Controls().back();  // "Axes Output", behind the box
        PaintCounter counter;
        for (QObject* watched : {static_cast<QObject*>(&window), static_cast<QObject*>(group),
                                 static_cast<QObject*>(box)}) {
            watched->installEventFilter(&counter);
        }
        QTest::qWait(20);  // whatever was pending from the first show
        counter.paints.clear();
        dialog.SetDlgItemText(IDC_AXIS_X_OUT, "123");
        QTRY_COMPARE(counter.paints[box], 1);
        EXPECT_EQ(counter.paints[&window], 0);
        EXPECT_EQ(counter.paints[group], 0);

        // Its pixels are those it had when drawn over the dialog and group box.
        const QImage opaque = window.grab().toImage();
        box->setAutoFillBackground(false);
        const QImage overParents = window.grab().toImage();
        EXPECT_EQ(opaque.copy(box->geometry()), overParents.copy(box->geometry()));
    });
}

}  // namespace
}  // namespace zarven::qt::test
