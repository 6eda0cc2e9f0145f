#include "platform/emulated/files/ini_document.h"

#include "platform/emulated/files/ascii_text.h"

#include <algorithm>

namespace emulated {

namespace {

// Line breaks and NUL bytes cannot be part of a stored line.
bool HasUnstorableByte(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool NamesSection(const IniSection& section, std::string_view name) {
    return EqualsIgnoreCase(section.name, Trim(name));
}

bool NamesEntry(const IniLine& line, std::string_view key) {
    return line.entry && EqualsIgnoreCase(line.key, Trim(key));
}

IniLine MakeEntry(std::string_view key, std::string_view value, LineEnd end) {
    const std::string_view name = Trim(key);
    return IniLine{std::string(name) + "=" + std::string(value), end, true, std::string(name),
                   std::string(Trim(value))};
}

}  // namespace

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const auto found = std::find_if(sections.begin(), sections.end(),
                                    [&](const IniSection& s) { return NamesSection(s, section); });
    if (found == sections.end()) {
        return std::nullopt;
    }
    for (const IniLine& line : found->lines) {
        if (NamesEntry(line, key)) {
            return line.value;
        }
    }
    return std::nullopt;
}

bool IniDocument::CanStore(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view name = Trim(key);
    const bool sectionOk = !Trim(section).empty() && section.find(']') == std::string_view::npos &&
                           !HasUnstorableByte(section) && section.size() + 2 <= kMaxLineLength;
    const bool keyOk = !name.empty() && name.find('=') == std::string_view::npos &&
                       !HasUnstorableByte(name) && name.find_first_of("[;#") != 0;
    const bool valueOk =
        !HasUnstorableByte(value) && name.size() + value.size() + 1 <= kMaxLineLength;
    return sectionOk && keyOk && valueOk;
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    auto found = std::find_if(sections.begin(), sections.end(),
                              [&](const IniSection& s) { return NamesSection(s, section); });
    if (found == sections.end()) {
        std::vector<IniLine>& before = sections.empty() ? preamble : sections.back().lines;
        if (!before.empty() && !Trim(before.back().text).empty()) {
            before.push_back(IniLine{{}, layout.dominantEnd, false, {}, {}});
        }
        const std::string name(Trim(section));
        sections.push_back(IniSection{name, StoredLine{"[" + name + "]", layout.dominantEnd}, {}});
        found = sections.end() - 1;
    }
    std::vector<IniLine>& lines = found->lines;
    const auto existing = std::find_if(lines.begin(), lines.end(),
                                       [&](const IniLine& line) { return NamesEntry(line, key); });
    if (existing != lines.end()) {
        IniLine rewritten = MakeEntry(key, value, existing->end);
        if (rewritten.text == existing->text) {
            return false;
        }
        *existing = std::move(rewritten);
        return true;
    }
    const auto lastEntry =
        std::find_if(lines.rbegin(), lines.rend(), [](const IniLine& line) { return line.entry; });
    lines.insert(lastEntry.base(), MakeEntry(key, value, layout.dominantEnd));
    return true;
}

void IniDocument::CommentIfEmpty(std::string_view comment) {
    if (!preamble.empty() || !sections.empty()) {
        return;
    }
    while (!comment.empty()) {
        const std::size_t end = std::min(comment.find('\n'), comment.size());
        preamble.push_back(
            IniLine{std::string(comment.substr(0, end)), layout.dominantEnd, false, {}, {}});
        comment.remove_prefix(std::min(end + 1, comment.size()));
    }
}

bool IniDocument::RemoveKey(std::string_view section, std::string_view key) {
    std::size_t removed = 0;
    for (IniSection& s : sections) {
        if (NamesSection(s, section)) {
            removed +=
                std::erase_if(s.lines, [&](const IniLine& line) { return NamesEntry(line, key); });
        }
    }
    return removed != 0;
}

bool IniDocument::RemoveSection(std::string_view section) {
    bool removed = false;
    for (std::size_t i = sections.size(); i-- > 0;) {
        if (!NamesSection(sections[i], section)) {
            continue;
        }
        std::vector<IniLine>& lines = sections[i].lines;
        const auto afterLastEntry =
            std::find_if(lines.rbegin(), lines.rend(), [](const IniLine& line) {
                return line.entry;
            }).base();
        std::vector<IniLine>& before = i == 0 ? preamble : sections[i - 1].lines;
        before.insert(before.end(), std::make_move_iterator(afterLastEntry),
                      std::make_move_iterator(lines.end()));
        sections.erase(sections.begin() + static_cast<std::ptrdiff_t>(i));
        removed = true;
    }
    return removed;
}

}  // namespace emulated
