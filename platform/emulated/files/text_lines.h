// Splitting a stored text into lines and joining lines back, keeping the text's layout
// (byte-order mark, each line's own line end) so a rewritten file looks like the one that was
// read. LF, CR LF and a lone CR each end a line.
#pragma once

#include "platform/emulated/files/parse_result.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace emulated {

// Longest physical line accepted, in bytes; longer lines make the text unreadable.
inline constexpr std::size_t kMaxLineLength = 64 * 1024;

// How large a text of one kind may be. They keep the memory a file takes (read, parsed and
// rewritten) within a small multiple of the bytes it holds.
struct TextLimits {
    std::size_t maxBytes = 0;
    std::size_t maxLines = 0;
};

enum class LineEnd : unsigned char { kNone, kLf, kCrLf, kCr };

struct TextLayout {
    bool byteOrderMark = false;          // starts with the UTF-8 byte-order mark
    LineEnd dominantEnd = LineEnd::kLf;  // the most frequent line end; new lines take it

    bool operator==(const TextLayout&) const = default;
};

// A line as written in the file: its text without the line end, and that end (kNone only for
// a last line without one).
struct StoredLine {
    std::string text;
    LineEnd end = LineEnd::kLf;

    bool operator==(const StoredLine&) const = default;
};

struct TextLine {
    std::string_view text;
    LineEnd end = LineEnd::kLf;
};

struct SplitText {
    TextLayout layout;
    std::vector<TextLine> lines;  // line n is lines[n - 1]
};

// Fails on a text over the limits, a NUL byte or a line longer than kMaxLineLength.
Parsed<SplitText> SplitLines(std::string_view text, const TextLimits& limits);

// The number of lines a text holds, as SplitLines counts them.
std::size_t CountLines(std::string_view text);

// Builds a text line by line in a layout. A line without a line end gets the layout's one when
// another line follows it.
class TextWriter {
public:
    explicit TextWriter(const TextLayout& layout);

    void Add(std::string_view text, LineEnd end);
    void Add(const StoredLine& line) { Add(line.text, line.end); }
    std::string Finish() && { return std::move(text_); }

private:
    LineEnd dominantEnd_;
    bool endPending_ = false;
    std::string text_;
};

}  // namespace emulated
