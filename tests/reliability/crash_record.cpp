#include "tests/reliability/crash_record.h"

#include <cstring>

namespace crash {

namespace {

constexpr std::size_t kDwords = kRecordSize / sizeof(DWORD);
static_assert(kRecordSize % sizeof(DWORD) == 0);

}  // namespace

std::array<BYTE, kRecordSize> CounterRecord(std::uint32_t counter) {
    std::array<BYTE, kRecordSize> record{};
    const DWORD value = counter;
    for (std::size_t i = 0; i < kDwords; ++i) {
        std::memcpy(record.data() + i * sizeof(DWORD), &value, sizeof value);
    }
    return record;
}

std::optional<std::uint32_t> CounterOfRecord(std::span<const BYTE> bytes) {
    if (bytes.size() != kRecordSize) {
        return std::nullopt;
    }
    DWORD first = 0;
    std::memcpy(&first, bytes.data(), sizeof first);
    const auto whole = CounterRecord(first);
    if (std::memcmp(whole.data(), bytes.data(), kRecordSize) != 0) {
        return std::nullopt;
    }
    return first;
}

}  // namespace crash
