#include "tests/reliability/crash_journal.h"

#include <algorithm>
#include <charconv>
#include <fcntl.h>
#include <unistd.h>

namespace crash {

namespace {

constexpr std::string_view kItemNames[] = {"reg", "ini"};
constexpr std::string_view kEventNames[] = {"intend", "done", "seen"};

template <class Enum, std::size_t N>
std::optional<Enum> Lookup(const std::string_view (&names)[N], std::string_view word) {
    const auto found = std::find(std::begin(names), std::end(names), word);
    if (found == std::end(names)) {
        return std::nullopt;
    }
    return static_cast<Enum>(found - std::begin(names));
}

// Splits off the text up to the first `separator`, or all of it.
std::string_view NextWord(std::string_view& text, char separator) {
    const std::size_t end = std::min(text.find(separator), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    return word;
}

std::optional<Entry> ParseEntry(std::string_view line) {
    const auto item = Lookup<Item>(kItemNames, NextWord(line, ' '));
    const auto event = Lookup<Event>(kEventNames, NextWord(line, ' '));
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (!item || !event || line.empty() || error != std::errc() ||
        end != line.data() + line.size()) {
        return std::nullopt;
    }
    return Entry{*item, *event, value};
}

}  // namespace

std::string FormatEntry(const Entry& entry) {
    return std::string(kItemNames[static_cast<int>(entry.item)]) + " " +
           std::string(kEventNames[static_cast<int>(entry.event)]) + " " +
           std::to_string(entry.value) + "\n";
}

std::optional<std::vector<Entry>> ParseJournal(std::string_view text) {
    std::vector<Entry> entries;
    while (!text.empty()) {
        if (text.find('\n') == std::string_view::npos) {
            break;  // a line the kill cut short: the write it announced never started
        }
        const std::optional<Entry> entry = ParseEntry(NextWord(text, '\n'));
        if (!entry) {
            return std::nullopt;
        }
        entries.push_back(*entry);
    }
    return entries;
}

Acceptable AcceptableValues(const std::vector<Entry>& journal, Item item) {
    Acceptable acceptable;
    for (const Entry& entry : journal) {
        if (entry.item != item) {
            continue;
        }
        if (entry.event == Event::kIntend) {
            acceptable.pending = entry.value;
        } else {
            acceptable.settled = entry.value;
            acceptable.pending.reset();
        }
    }
    return acceptable;
}

std::uint32_t NextCounter(const std::vector<Entry>& journal) {
    std::uint32_t largest = 0;
    for (const Entry& entry : journal) {
        largest = std::max(largest, entry.value);
    }
    return largest + 1;
}

JournalFile::JournalFile(const std::filesystem::path& path)
    : fd_(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644)) {
    // A kill can cut a line short (a write is interrupted between pages); drop that tail so the
    // next line starts on a line of its own.
    const off_t size = fd_ >= 0 ? ::lseek(fd_, 0, SEEK_END) : -1;
    off_t whole = size;
    char last = '\n';
    while (whole > 0 && ::pread(fd_, &last, 1, whole - 1) == 1 && last != '\n') {
        --whole;
    }
    if (whole != size && whole >= 0) {
        if (::ftruncate(fd_, whole) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
}

JournalFile::~JournalFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool JournalFile::Append(const Entry& entry) {
    // One write per line: a kill leaves a line whole or absent.
    const std::string line = FormatEntry(entry);
    return ::write(fd_, line.data(), line.size()) == static_cast<ssize_t>(line.size()) &&
           ::fdatasync(fd_) == 0;
}

}  // namespace crash
