#include "platform/win32/system_menu.h"

namespace zarven::win32 {

BOOL WindowMenu::AppendMenu(UINT flags, UINT_PTR id, LPCSTR text) {
    return m_menu != nullptr ? ::AppendMenu(m_menu, flags, id, text) : FALSE;
}

}  // namespace zarven::win32
