// An INI file as the platform's profile functions see it: sections of key=value entries,
// names compared case-insensitively, blanks around names and values ignored. Every line is
// kept as written, so an edit leaves the rest of the file (comments, spacing) untouched.
#pragma once

#include "platform/emulated/files/text_lines.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emulated {

struct IniLine {
    std::string text;  // the line as written
    LineEnd end = LineEnd::kLf;
    bool entry = false;  // a key=value line; otherwise a blank or comment line
    std::string key;     // of an entry, trimmed
    std::string value;   // of an entry, trimmed

    bool operator==(const IniLine&) const = default;
};

struct IniSection {
    std::string name;   // trimmed
    StoredLine header;  // the "[name]" line as written
    std::vector<IniLine> lines;

    bool operator==(const IniSection&) const = default;
};

struct IniDocument {
    TextLayout layout;
    std::vector<IniLine> preamble;  // lines before the first section (entries there are ignored)
    std::vector<IniSection> sections;

    bool operator==(const IniDocument&) const = default;

    // The first entry of that key in the first section of that name.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Whether Set can store these names and value so that they read back.
    static bool CanStore(std::string_view section, std::string_view key, std::string_view value);

    // Rewrites the first entry of the key, or adds one after the section's last entry; adds
    // the section at the end when it is missing. Requires CanStore. False when the entry was
    // already written so.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // Gives a document that holds nothing yet these comment lines ('\n' between them), so a
    // file the machine creates explains itself.
    void CommentIfEmpty(std::string_view comment);

    // Each false when there was nothing to remove.
    bool RemoveKey(std::string_view section, std::string_view key);
    // Removes every section of the name, from its header to its last entry: the blank and
    // comment lines after the last entry, which stand before the next section, stay.
    bool RemoveSection(std::string_view section);
};

}  // namespace emulated
