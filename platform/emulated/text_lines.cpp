#include "platform/emulated/text_lines.h"

namespace emulated {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

Parsed<SplitText> SplitLines(std::string_view text) {
    SplitText split;
    if (text.starts_with(kByteOrderMark)) {
        split.layout.byteOrderMark = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    const std::size_t firstEnd = text.find('\n');
    split.layout.crlf =
        firstEnd != std::string_view::npos && firstEnd > 0 && text[firstEnd - 1] == '\r';

    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const std::size_t number = split.lines.size() + 1;
        if (line.size() > kMaxLineLength) {
            return ParseError{number,
                              "line longer than " + std::to_string(kMaxLineLength) + " bytes"};
        }
        if (line.find('\0') != std::string_view::npos) {
            return ParseError{number, "NUL byte"};
        }
        split.lines.push_back(line);
    }
    return split;
}

std::string JoinLines(const std::vector<std::string>& lines, const TextLayout& layout) {
    const std::string_view end = layout.crlf ? "\r\n" : "\n";
    std::string text(layout.byteOrderMark ? kByteOrderMark : std::string_view{});
    for (const std::string& line : lines) {
        text += line;
        text += end;
    }
    return text;
}

}  // namespace emulated
