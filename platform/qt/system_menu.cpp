#include "platform/qt/system_menu.h"

#include <QAction>
#include <QMenu>

#include <limits>

namespace zarven::qt {

BOOL SystemMenu::AppendMenu(UINT flags, UINT_PTR id, LPCSTR text) {
    if (flags == MF_SEPARATOR) {
        appended_.push_back({true, 0, {}});
        return TRUE;
    }
    if (flags != MF_STRING || text == nullptr || id > std::numeric_limits<UINT>::max()) {
        return FALSE;
    }
    appended_.push_back({false, static_cast<UINT>(id), QString::fromUtf8(text)});
    return TRUE;
}

std::optional<UINT> SystemMenu::Choose(QWidget* parent, QPoint at) const {
    QMenu menu(parent);
    // The text after the tab is shown as the key; Alt+F4 itself is handled by the dialog.
    menu.addAction(QStringLiteral("&Close\tAlt+F4"))->setData(SC_CLOSE);
    for (const Item& item : appended_) {
        if (item.separator) {
            menu.addSeparator();
        } else {
            menu.addAction(item.text)->setData(item.id);
        }
    }
    const QAction* chosen = menu.exec(at);
    if (chosen == nullptr) {
        return std::nullopt;
    }
    return chosen->data().toUInt();
}

}  // namespace zarven::qt
