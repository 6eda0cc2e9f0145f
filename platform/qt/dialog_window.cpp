#include "platform/qt/dialog_window.h"

#include "platform/qt/accessible_text.h"
#include "platform/qt/controls.h"
#include "platform/qt/dialog_events.h"
#include "platform/qt/dialog_font.h"
#include "platform/qt/dialog_keyboard.h"
#include "platform/qt/icons.h"
#include "platform/qt/window_handles.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>
#include <limits>

namespace zarven::qt {
namespace {

// The shortest and longest timer periods Win32 accepts; shorter ones are raised to the first.
constexpr UINT kMinTimerMs = 10;
constexpr UINT kMaxTimerMs = std::numeric_limits<int>::max();

Qt::WindowFlags WindowFlagsOf(unsigned style, bool owned) {
    using namespace DialogStyle;
    // An application window gets its own taskbar entry, as a top-level window.
    Qt::WindowFlags flags = (style & kAppWindow) != 0 && !owned ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    if ((style & kCaption) != 0) {
        flags |= Qt::WindowTitleHint;
    }
    if ((style & kSystemMenu) != 0) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    return flags;
}

}  // namespace

DialogWindow::DialogWindow(CDialog& dialog, const DialogTemplate& dialogTemplate, QWidget* owner)
    : QDialog(owner), dialog_(dialog), style_(dialogTemplate.style) {
    setWindowFlags(WindowFlagsOf(style_, owner != nullptr));
    setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::NonModal);
    setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    setFont(DialogFont(dialogTemplate.fontFace, dialogTemplate.pointSize));
    baseUnits_ = BaseUnitsOf(font());
    const QRect client =
        DialogUnitsToPixels(baseUnits_, 0, 0, dialogTemplate.cx, dialogTemplate.cy);
    setFixedSize(client.size());
    CreateControls(dialogTemplate);
    AddSystemKeys();
    RegisterWindowHandle(this);
}

DialogWindow::~DialogWindow() {
    UnregisterWindowHandle(this);
}

void DialogWindow::CreateControls(const DialogTemplate& dialogTemplate) {
    const ControlEvents events{
        .clicked = [this](int id) { AfxDialogEvents::Command(dialog_, id); },
        .editChanged = [this](int id) { AfxDialogEvents::EditChange(dialog_, id); },
        .scrolled = [this](int id, UINT code,
                           UINT pos) { AfxDialogEvents::VScroll(dialog_, code, pos, id); },
    };
    for (const DialogControl& control : dialogTemplate.controls) {
        QWidget* widget = CreateControl(*this, control, events);
        widget->setGeometry(ControlRectInPixels(baseUnits_, control));
        SetAccessibleText(*widget, control);
        controlsInOrder_.push_back(widget);
        if (control.id != -1) {
            controlsById_.emplace(control.id, widget);
        }
    }
    // A label's mnemonic moves the focus to the next control Tab reaches.
    for (std::size_t i = 0; i < controlsInOrder_.size(); ++i) {
        const DialogControl& control = dialogTemplate.controls[i];
        auto* label = qobject_cast<QLabel*>(controlsInOrder_[i]);
        if (label == nullptr || (control.style & ControlStyle::kNoPrefix) != 0) {
            continue;
        }
        const auto next = std::find_if(controlsInOrder_.begin() + i + 1, controlsInOrder_.end(),
                                       [](const QWidget* widget) { return IsTabStop(*widget); });
        if (next != controlsInOrder_.end()) {
            label->setBuddy(*next);
        }
    }
    new DialogKeyboard(dialogTemplate.controls, controlsInOrder_, this);  // owned by the window
}

void DialogWindow::AddSystemKeys() {
    // Window managers usually take Alt+F4 themselves and send a close request instead.
    auto* closeKey = new QAction(this);
    closeKey->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(closeKey, &QAction::triggered, this,
            [this] { AfxDialogEvents::SysCommand(dialog_, SC_CLOSE); });
    addAction(closeKey);
    if ((style_ & DialogStyle::kSystemMenu) != 0) {
        auto* menuKey = new QAction(this);
        menuKey->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Space));
        connect(menuKey, &QAction::triggered, this,
                [this] { OpenSystemMenu(mapToGlobal(QPoint(0, 0))); });
        addAction(menuKey);
    }
}

QWidget* DialogWindow::Control(int id) const {
    const auto it = controlsById_.find(id);
    return it != controlsById_.end() ? it->second : nullptr;
}

void DialogWindow::FocusFirstTabStop() {
    const auto first = std::find_if(controlsInOrder_.begin(), controlsInOrder_.end(),
                                    [](const QWidget* widget) { return IsTabStop(*widget); });
    if (first != controlsInOrder_.end()) {
        (*first)->setFocus(Qt::TabFocusReason);
    }
}

UINT_PTR DialogWindow::SetTimer(UINT_PTR id, UINT elapseMs) {
    KillTimer(id);
    const int qtTimerId =
        startTimer(static_cast<int>(std::clamp(elapseMs, kMinTimerMs, kMaxTimerMs)));
    if (qtTimerId == 0) {
        return 0;
    }
    timers_[id] = qtTimerId;
    return id;
}

BOOL DialogWindow::KillTimer(UINT_PTR id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) {
        return FALSE;
    }
    killTimer(it->second);
    timers_.erase(it);
    return TRUE;
}

void DialogWindow::timerEvent(QTimerEvent* event) {
    const auto it = std::find_if(timers_.begin(), timers_.end(), [event](const auto& timer) {
        return timer.second == event->timerId();
    });
    if (it == timers_.end()) {
        QDialog::timerEvent(event);
        return;
    }
    AfxDialogEvents::Timer(dialog_, it->first);
}

void DialogWindow::OpenSystemMenu(QPoint globalPos) {
    if (const std::optional<UINT> command = systemMenu_.Choose(this, globalPos)) {
        AfxDialogEvents::SysCommand(dialog_, *command);
    }
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    if ((style_ & DialogStyle::kSystemMenu) != 0) {
        OpenSystemMenu(event->globalPos());
    }
}

HICON DialogWindow::SetIcon(HICON icon, bool bigIcon) {
    HICON& slot = bigIcon ? bigIcon_ : smallIcon_;
    HICON previous = slot;
    slot = icon;
    // Qt keeps one multi-size window icon; the large one wins when both are set.
    setWindowIcon(IconOfHandle(bigIcon_ != nullptr ? bigIcon_ : smallIcon_));
    return previous;
}

void DialogWindow::reject() {
    // Escape: the Cancel command, whether or not the dialog has a Cancel button.
    AfxDialogEvents::Command(dialog_, IDCANCEL);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close box and the window manager's close: the system command, whose default
    // processing cancels the dialog. The window closes only through EndDialog.
    event->ignore();
    AfxDialogEvents::SysCommand(dialog_, SC_CLOSE);
}

void DialogWindow::paintEvent(QPaintEvent*) {
    // Qt has filled the background; the controls paint themselves.
    painting_ = true;
    AfxDialogEvents::Paint(dialog_);
    painting_ = false;
    paintContext_.reset();
}

HDC DialogWindow::BeginPaintContext() {
    if (!painting_ || paintContext_) {
        return nullptr;
    }
    paintContext_ = std::make_unique<QPainter>(this);
    return reinterpret_cast<HDC>(paintContext_.get());
}

void DialogWindow::EndPaintContext(HDC hdc) {
    if (PainterOf(hdc) != nullptr) {
        paintContext_.reset();
    }
}

QPainter* DialogWindow::PainterOf(HDC hdc) const {
    return hdc != nullptr && reinterpret_cast<HDC>(paintContext_.get()) == hdc ? paintContext_.get()
                                                                               : nullptr;
}

bool DialogWindow::EraseIconBackground(HDC hdc) {
    QPainter* painter = PainterOf(hdc);
    if (painter == nullptr) {
        return false;
    }
    painter->fillRect(rect(), palette().window());
    return true;
}

}  // namespace zarven::qt
