#include "platform/qt/accessible_text.h"

#include <QWidget>

namespace zarven::qt {

void SetAccessibleText(QWidget& widget, const DialogControl& control) {
    if (control.kind == ControlKind::Icon) {
        widget.setAccessibleName(QStringLiteral("Icon"));
    }
    const AccessibleText* text = control.id != -1 ? FindAccessibleText(control.id) : nullptr;
    if (text == nullptr) {
        return;
    }
    if (text->name != nullptr) {
        widget.setAccessibleName(QString::fromUtf8(text->name));
    }
    if (text->description != nullptr) {
        widget.setAccessibleDescription(QString::fromUtf8(text->description));
    }
}

}  // namespace zarven::qt
