// The crash test's journal: the writer notes each value it is about to write and each write
// that returned, the checker notes each value it found. From it follows, after a kill, which
// values each stored item may hold: the last one known to be there, or the one being written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace crash {

// The two items the writer changes: the registry record and the profile entry.
enum class Item { kRegistry, kProfile };

enum class Event {
    kIntend,  // about to write the value
    kDone,    // the write returned success
    kSeen,    // a check found the value stored
};

// Counters start at 1; 0 stands for the item's state before the first write.
struct Entry {
    Item item;
    Event event;
    std::uint32_t value;

    bool operator==(const Entry&) const = default;
};

// One line, "<reg|ini> <intend|done|seen> <value>\n".
std::string FormatEntry(const Entry& entry);
// nullopt when any line is malformed.
std::optional<std::vector<Entry>> ParseJournal(std::string_view text);

struct Acceptable {
    std::uint32_t settled = 0;             // last written or found
    std::optional<std::uint32_t> pending;  // written when the process died, if any

    bool Allows(std::uint32_t value) const { return value == settled || value == pending; }
};
Acceptable AcceptableValues(const std::vector<Entry>& journal, Item item);

// One above the largest value in the journal, so every write is new.
std::uint32_t NextCounter(const std::vector<Entry>& journal);

// Appends entries to the journal file, each flushed to disk before Append returns.
class JournalFile {
public:
    explicit JournalFile(const std::filesystem::path& path);
    ~JournalFile();
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    bool Append(const Entry& entry);

private:
    int fd_ = -1;
};

}  // namespace crash
