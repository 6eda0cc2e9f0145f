// A system menu that records its items; it starts with the platform's own items.
#pragma once

#include "platform/headless/headless.h"

#include <vector>

namespace headless::detail {

class RecordingMenu final : public CMenu {
public:
    RecordingMenu() { Revert(); }

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) override;
    void Revert();  // back to the platform's items only
    const std::vector<MenuItem>& Items() const { return m_items; }

private:
    std::vector<MenuItem> m_items;
};

}  // namespace headless::detail
