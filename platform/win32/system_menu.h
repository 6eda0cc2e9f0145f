// A CMenu over a real menu handle: the dialog's system menu.
#pragma once

#include "platform/framework.h"

namespace zarven::win32 {

class WindowMenu final : public CMenu {
public:
    void Attach(HMENU menu) { m_menu = menu; }

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) override;

private:
    HMENU m_menu = nullptr;
};

}  // namespace zarven::win32
