// A dialog's own system menu: Linux window managers keep theirs to themselves, so the dialog
// opens this one (right-click, Alt+Space). "Close" comes first, then what the program appended.
#pragma once

#include "platform/framework.h"

#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace zarven::qt {

class SystemMenu final : public CMenu {
public:
    // MF_STRING items with a text and MF_SEPARATOR; anything else is refused (FALSE).
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) override;

    // Back to the platform's items only.
    void Revert() { appended_.clear(); }

    // Pops the menu up at a global position and waits for a choice: the command id, or nothing
    // when the menu was dismissed.
    std::optional<UINT> Choose(QWidget* parent, QPoint at) const;

private:
    struct Item {
        bool separator;
        UINT id;
        QString text;
    };
    std::vector<Item> appended_;
};

}  // namespace zarven::qt
