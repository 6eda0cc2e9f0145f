// Open handles (registry keys, drivers) as opaque numbers that are never reused within the
// process, so a closed or made-up handle is recognised rather than followed.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

namespace emulated {

// Multiples of 16, so they never equal a predefined key such as HKEY_LOCAL_MACHINE.
std::uintptr_t NextHandleValue();

template <class Entry>
class HandleTable {
public:
    std::uintptr_t Add(Entry entry) {
        const std::uintptr_t handle = NextHandleValue();
        entries_.emplace(handle, std::move(entry));
        return handle;
    }

    const Entry* Find(std::uintptr_t handle) const {
        const auto found = entries_.find(handle);
        return found == entries_.end() ? nullptr : &found->second;
    }

    bool Remove(std::uintptr_t handle) { return entries_.erase(handle) == 1; }

private:
    std::map<std::uintptr_t, Entry> entries_;
};

}  // namespace emulated
