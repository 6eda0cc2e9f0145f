#include "platform/emulated/registry/handle_table.h"

namespace emulated {

std::uintptr_t NextHandleValue() {
    static std::uintptr_t next = 0x10000;
    next += 16;
    return next;
}

}  // namespace emulated
