// INI text: "[section]" lines, "key=value" entries, blank lines and ';' or '#' comments.
// Tolerant as the platform is (blanks, any line end, any case), but a line that is none of these
// makes the text unreadable rather than silently dropped.
#pragma once

#include "platform/emulated/files/ini_document.h"
#include "platform/emulated/files/parse_result.h"

#include <string>
#include <string_view>

namespace emulated {

// Far beyond any honest profile or machine INI file (a few KiB); a larger one is refused.
inline constexpr TextLimits kIniLimits{1024 * 1024, 65536};

Parsed<IniDocument> ParseIniText(std::string_view text);

// The lines as kept, in the document's layout; ParseIniText reads it back unchanged.
std::string FormatIniText(const IniDocument& document);

}  // namespace emulated
