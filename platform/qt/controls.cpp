#include "platform/qt/controls.h"

#include "platform/qt/icons.h"
#include "platform/qt/scroll_bar.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <qdrawutil.h>

namespace zarven::qt {
namespace {

using namespace ControlStyle;

// A check box that toggles itself only when its style says so.
class CheckBox final : public QCheckBox {
public:
    CheckBox(const QString& text, bool autoCheck, QWidget* parent)
        : QCheckBox(text, parent), autoCheck_(autoCheck) {}

protected:
    void nextCheckState() override {
        if (autoCheck_) {
            QCheckBox::nextCheckState();
        }
    }

private:
    bool autoCheck_;
};

// An icon control: the icon at the standard icon size in the control's top-left corner.
class IconView final : public QWidget {
public:
    IconView(HICON icon, QWidget* parent) : QWidget(parent), icon_(icon) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        PaintIcon(painter, 0, 0, icon_);
    }

private:
    HICON icon_;
};

// A group box drawn as Win32 draws one: an etched frame whose top edge runs through the middle
// of the title, which interrupts it near the left end. Qt's styles put the title above the frame.
class GroupFrame final : public QGroupBox {
public:
    GroupFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

protected:
    // The arrow keys may give a group box the focus, as the dialog manager does; it keeps it
    // (Qt's group box would pass it on to the next control).
    void focusInEvent(QFocusEvent* event) override { QWidget::focusInEvent(event); }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        // An etched line: a sunken shade one pixel wide.
        qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true);
        if (title().isEmpty()) {
            return;
        }
        constexpr int kGap = 2;
        static const QRegularExpression mnemonicMarker("&(?!&)");  // "&&" shows one '&'
        const QString shown = title().remove(mnemonicMarker);
        const QRect titleRect(metrics.averageCharWidth(), 0,
                              metrics.horizontalAdvance(shown) + 2 * kGap, metrics.height());
        painter.fillRect(titleRect, palette().window());
        style()->drawItemText(&painter, titleRect, Qt::AlignCenter | Qt::TextShowMnemonic,
                              palette(), isEnabled(), title(), QPalette::WindowText);
    }
};

QWidget* CreatePushButton(QWidget& dialog, const DialogControl& control, const QString& text,
                          const ControlEvents& events) {
    auto* button = new QPushButton(text, &dialog);
    button->setDefault((control.style & kDefaultButton) != 0);
    QObject::connect(button, &QPushButton::clicked, button,
                     [id = control.id, clicked = events.clicked] { clicked(id); });
    return button;
}

QWidget* CreateCheckBox(QWidget& dialog, const DialogControl& control, const QString& text,
                        const ControlEvents& events) {
    auto* box = new CheckBox(text, (control.style & kAutoCheck) != 0, &dialog);
    QObject::connect(box, &QCheckBox::clicked, box,
                     [id = control.id, clicked = events.clicked] { clicked(id); });
    return box;
}

QWidget* CreateScrollBar(QWidget& dialog, const DialogControl& control,
                         const ControlEvents& events) {
    const bool vertical = (control.style & kVertical) != 0;
    // The framework reports vertical scrolling only; a horizontal bar reports nothing.
    Win32ScrollBar::CodeSink sink = [](UINT, UINT) {};
    if (vertical) {
        sink = [id = control.id, scrolled = events.scrolled](UINT code, UINT pos) {
            scrolled(id, code, pos);
        };
    }
    return new Win32ScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, &dialog, std::move(sink));
}

QWidget* CreateEditBox(QWidget& dialog, const DialogControl& control, const QString& text,
                       const ControlEvents& events) {
    auto* edit = new QLineEdit(text, &dialog);
    edit->setFrame((control.style & kBorder) != 0);
    // Opaque, as a Win32 edit box is: it fills its whole rectangle with the dialog's colour
    // before drawing its frame, so a changed text repaints the box alone, not the dialog and
    // the group box behind it as well.
    edit->setBackgroundRole(QPalette::Window);
    edit->setAutoFillBackground(true);
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [id = control.id, editChanged = events.editChanged] { editChanged(id); });
    return edit;
}

QWidget* CreateLabel(QWidget& dialog, const DialogControl& control, const QString& text) {
    auto* label = new QLabel(text, &dialog);
    label->setTextFormat(Qt::PlainText);
    const Qt::Alignment horizontal =
        (control.style & kAlignCenter) != 0 ? Qt::AlignHCenter : Qt::AlignLeft;
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setWordWrap(true);  // as a Win32 left or centred static does
    return label;
}

QWidget* CreateGroupBox(QWidget& dialog, const QString& text) {
    auto* group = new GroupFrame(text, &dialog);
    // A group box is a frame drawn behind its neighbours; clicks go through it to the dialog.
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    group->lower();
    return group;
}

QWidget* CreateWidget(QWidget& dialog, const DialogControl& control, const ControlEvents& events) {
    const QString text = QString::fromUtf8(control.text != nullptr ? control.text : "");
    switch (control.kind) {
        case ControlKind::PushButton:
            return CreatePushButton(dialog, control, text, events);
        case ControlKind::CheckBox:
            return CreateCheckBox(dialog, control, text, events);
        case ControlKind::ScrollBar:
            return CreateScrollBar(dialog, control, events);
        case ControlKind::EditBox:
            return CreateEditBox(dialog, control, text, events);
        case ControlKind::Label:
            return CreateLabel(dialog, control, text);
        case ControlKind::GroupBox:
            return CreateGroupBox(dialog, text);
        case ControlKind::Icon:
            return new IconView(LoadIconResource(control.iconId), &dialog);
    }
    return new QWidget(&dialog);
}

// Win32 gives the focus with Tab only to controls with a tab stop, and on a click to every
// control that takes input except a scroll bar without one: that bar is reached by the arrow
// keys only (the dialog's keyboard gives it the focus whatever its policy).
Qt::FocusPolicy FocusPolicyOf(const DialogControl& control) {
    const bool tabStop = (control.style & kTabStop) != 0;
    switch (control.kind) {
        case ControlKind::ScrollBar:
            return tabStop ? Qt::StrongFocus : Qt::NoFocus;
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::EditBox:
            return tabStop ? Qt::StrongFocus : Qt::ClickFocus;
        case ControlKind::Label:
        case ControlKind::GroupBox:
        case ControlKind::Icon:
            break;
    }
    return Qt::NoFocus;
}

}  // namespace

QWidget* CreateControl(QWidget& dialog, const DialogControl& control, const ControlEvents& events) {
    QWidget* widget = CreateWidget(dialog, control, events);
    widget->setFocusPolicy(FocusPolicyOf(control));
    return widget;
}

void SetControlText(QWidget& widget, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        // The same text again changes nothing visible; skipping it spares a relayout and a
        // repaint on every readout tick whose axis moved by less than a degree.
        if (edit->text() != text) {
            edit->setText(text);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
        group->setTitle(text);
    }
}

QString ControlText(const QWidget& widget) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
        return edit->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        return label->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
        return group->title();
    }
    return {};
}

bool IsTabStop(const QWidget& widget) {
    return (widget.focusPolicy() & Qt::TabFocus) != 0;
}

}  // namespace zarven::qt
