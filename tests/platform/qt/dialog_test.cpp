// Dialogs from the real templates: placement, modality, boxes, system menu, repaints, names.
#include "panel/resource.h"
#include "tests/platform/qt/qt_test_support.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace zarven::qt::test {
namespace {

using Clicks = std::vector<std::pair<int, UINT>>;

// The stand-in font keeps the classic 6 x 13 base units; 229.5 and 206.4 round to the nearest.
TEST(DialogTest, DialogUnitsBecomeThePixelsOfTheClassicFont) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        EXPECT_EQ(window.size(), QSize(315, 284));
        EXPECT_EQ(window.Control(IDOK)->geometry(), QRect(230, 206, 75, 26));
    });
}

TEST(DialogTest, AboutBoxIsModalOverThePanel) {
    RecordingDialog panel(IDD_CONTROL_PANEL);
    RecordingDialog about(IDD_ABOUTBOX, &panel);
    RunModal(panel, [&](DialogWindow& panelWindow) {
        const INT_PTR aboutResult = RunModal(about, [&](DialogWindow& aboutWindow) {
            EXPECT_EQ(QApplication::activeModalWidget(), &aboutWindow);
            ClickControl(panelWindow, IDC_SET_ZERO);  // blocked while the about box is open
            QTest::keyClick(&aboutWindow, Qt::Key_Return);
        });
        EXPECT_EQ(aboutResult, IDOK);
        ClickControl(panelWindow, IDC_SET_ZERO);  // the panel takes input again
    });
    EXPECT_EQ(panel.clicks, (Clicks{{IDC_SET_ZERO, 0}}));
}

// An ownerless box blocks nothing; Escape and the close box answer an OK box, not a question.
TEST(MessageBoxTest, OwnerlessBoxLeavesThePanelWorkingAndAQuestionWaitsForItsAnswer) {
    for (const auto& [type, answer] : {std::pair{MB_OK, IDOK}, {MB_YESNO, IDYES}}) {
        RecordingDialog panel(IDD_CONTROL_PANEL);
        RunModal(panel, [&](DialogWindow& window) {
            panel.SetTimer(1, 10);
            QTimer::singleShot(0, qApp, [&] {  // runs inside the box's event loop
                QMessageBox* box = nullptr;
                for (QWidget* widget : QApplication::topLevelWidgets()) {
                    box = box != nullptr ? box : qobject_cast<QMessageBox*>(widget);
                }
                const std::size_t ticks = panel.ticks.size();
                ClickControl(window, IDC_POWER_SAVER);
                QTest::qWait(120);
                EXPECT_GE(panel.ticks.size(), ticks + 3);
                QTest::keyClick(box, Qt::Key_Escape);
                EXPECT_EQ(box->isVisible(), type == MB_YESNO);
                box->close();
                EXPECT_EQ(box->isVisible(), type == MB_YESNO);
                QTest::keyClick(box, Qt::Key_Return);
            });
            EXPECT_EQ(MessageBoxA(nullptr, "Joystick6", "Select HMD", type), answer);
        });
        EXPECT_EQ(panel.clicks, (Clicks{{IDC_POWER_SAVER, BST_CHECKED}}));
    }
}

// Close, then the program's items; opened by Alt+Space or a right-click (not on a bar).
TEST(SystemMenuTest, OpensOnAltSpaceOrARightClickAndItsCloseCancels) {
    const std::tuple<const char*, void (*)(DialogWindow&), bool, INT_PTR> cases[] = {
        {"Alt+Space", [](DialogWindow& w) { QTest::keyClick(&w, Qt::Key_Space, Qt::AltModifier); },
         true, IDCANCEL},
        {"right-click",
         [](DialogWindow& w) { ClickControl(w, IDC_OPTIONS_GROUP, Qt::RightButton); }, true,
         IDCANCEL},
        {"right-click on a bar",
         [](DialogWindow& w) { ClickControl(w, IDC_YAW_BAR, Qt::RightButton); }, false, kLeftOpen},
        {"close box", [](DialogWindow& w) { w.close(); }, false, IDCANCEL}};
    const std::vector<std::string> menu = {"&Close\tAlt+F4", "-", "&About ZARVEN Controls..."};
    for (const auto& [name, act, opens, result] : cases) {
        RecordingDialog dialog(IDD_CONTROL_PANEL);
        std::vector<std::string> items;
        const INT_PTR ended = RunModal(dialog, [&](DialogWindow& window) {
            dialog.GetSystemMenu(FALSE)->AppendMenu(MF_SEPARATOR);
            dialog.GetSystemMenu(FALSE)->AppendMenu(MF_STRING, IDM_ABOUT, menu[2].c_str());
            QTimer::singleShot(0, qApp, [&items] {  // chooses Close in the menu that opened
                if (auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                    for (const QAction* item : shown->actions()) {
                        items.push_back(item->isSeparator() ? "-" : item->text().toStdString());
                    }
                    shown->setActiveAction(shown->actions().front());
                    QTest::keyClick(shown, Qt::Key_Return);
                }
            });
            act(window);
            QCoreApplication::processEvents();
        });
        EXPECT_EQ(ended, result) << name;
        EXPECT_EQ(items, opens ? menu : std::vector<std::string>()) << name;
    }
}

struct PaintCounter final : QObject {
    std::map<const QObject*, int> paints;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints[watched];
        }
        return false;
    }
};

// Not the dialog and group box behind it, with the same pixels; the same text keeps the caret.
TEST(DialogTest, ChangedEditTextRepaintsTheBoxAlone) {
    RecordingDialog dialog(IDD_CONTROL_PANEL);
    RunModal(dialog, [&](DialogWindow& window) {
        auto* box = window.ControlAs<QLineEdit>(IDC_AXIS_X_OUT);
        QWidget* group = window.Controls().back();  // "Axes Output", behind the box
        PaintCounter counter;
        for (QObject* watched : std::initializer_list<QObject*>{&window, group, box}) {
            watched->installEventFilter(&counter);
        }
        QTest::qWait(20);  // whatever was pending from the first show
        counter.paints.clear();
        dialog.SetDlgItemText(IDC_AXIS_X_OUT, "123");
        QTRY_COMPARE(counter.paints[box], 1);
        EXPECT_EQ(counter.paints, (std::map<const QObject*, int>{{box, 1}}));
        box->setCursorPosition(1);
        dialog.SetDlgItemText(IDC_AXIS_X_OUT, "123");
        EXPECT_EQ(box->cursorPosition(), 1);
        const QImage opaque = window.grab().toImage();
        box->setAutoFillBackground(false);
        EXPECT_EQ(opaque.copy(box->geometry()), window.grab().toImage().copy(box->geometry()));
    });
}

// A value box, which shows no name, is named and described by what it shows, not its text.
TEST(AccessibilityTest, EveryControlIsNamedAndAValueBoxByWhatItShows) {
    const auto text = [](QWidget* control, QAccessible::Text kind) {
        return QAccessible::queryAccessibleInterface(control)->text(kind).toStdString();
    };
    for (const UINT templateId : {IDD_ABOUTBOX, IDD_CONTROL_PANEL}) {
        RecordingDialog dialog(templateId);
        RunModal(dialog, [&](DialogWindow& window) {
            for (QWidget* control : window.Controls()) {
                EXPECT_NE(text(control, QAccessible::Name), "");
            }
            if (QWidget* box = window.Control(IDC_YAW_VALUE)) {
                dialog.SetDlgItemText(IDC_YAW_VALUE, "179");
                EXPECT_EQ(text(box, QAccessible::Name), "Yaw sensitivity, degrees");
                EXPECT_NE(text(box, QAccessible::Description), "");
            }
        });
    }
}

}  // namespace
}  // namespace zarven::qt::test
