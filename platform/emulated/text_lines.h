// Splitting a stored text into lines and joining lines back, keeping the text's layout
// (byte-order mark, CRLF line ends) so a rewritten file looks like the one that was read.
#pragma once

#include "platform/emulated/parse_result.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace emulated {

// Longest physical line accepted, in bytes; longer lines make the text unreadable.
inline constexpr std::size_t kMaxLineLength = 64 * 1024;

struct TextLayout {
    bool byteOrderMark = false;  // starts with the UTF-8 byte-order mark
    bool crlf = false;           // the first line ends with CR LF

    bool operator==(const TextLayout&) const = default;
};

struct SplitText {
    TextLayout layout;
    std::vector<std::string_view> lines;  // without line ends; line n is lines[n - 1]
};

// Fails on a NUL byte or a line longer than kMaxLineLength.
Parsed<SplitText> SplitLines(std::string_view text);

// Every line followed by the layout's line end, after the byte-order mark if any.
std::string JoinLines(const std::vector<std::string>& lines, const TextLayout& layout);

}  // namespace emulated
