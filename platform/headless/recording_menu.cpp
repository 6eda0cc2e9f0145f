#include "platform/headless/recording_menu.h"

namespace headless::detail {

BOOL RecordingMenu::AppendMenu(UINT flags, UINT_PTR id, LPCSTR text) {
    m_items.push_back({flags, id, text != nullptr ? text : ""});
    return TRUE;
}

void RecordingMenu::Revert() {
    // A dialog with a modal frame and no minimize or maximize box: Move and Close.
    m_items = {{MF_STRING, SC_MOVE, "&Move"}, {MF_STRING, SC_CLOSE, "&Close"}};
}

}  // namespace headless::detail
