// The process's one machine, behind one lock: every platform function and test hook runs
// through here.
#pragma once

#include "platform/emulated/machine.h"

#include <mutex>
#include <utility>

namespace emulated {

std::unique_lock<std::mutex> LockSession();

// The machine of the current prefix, created on first use without loading it. Requires the
// session lock.
Machine& SessionMachine();

// The clock in seconds. Requires the session lock.
double SessionNow();

// Runs `action(Machine&)` on the loaded machine under the session lock.
template <class Action>
decltype(auto) WithLoadedMachine(Action&& action) {
    const std::unique_lock<std::mutex> lock = LockSession();
    Machine& machine = SessionMachine();
    machine.EnsureLoaded();
    return std::forward<Action>(action)(machine);
}

}  // namespace emulated
