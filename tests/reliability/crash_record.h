// The configuration record the crash test writes: 112 bytes whose every DWORD holds the same
// counter, so a record torn between two writes, or cut short, is told from a whole one.
#pragma once

#include "platform/win32api.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace crash {

inline constexpr std::size_t kRecordSize = sizeof(JOYREGHWCONFIG);

std::array<BYTE, kRecordSize> CounterRecord(std::uint32_t counter);

// The counter of a whole record; nullopt for any other bytes.
std::optional<std::uint32_t> CounterOfRecord(std::span<const BYTE> bytes);

}  // namespace crash
