#include "platform/emulated/files/text_lines.h"

#include <array>

namespace emulated {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view EndText(LineEnd end) {
    switch (end) {
        case LineEnd::kLf:
            return "\n";
        case LineEnd::kCrLf:
            return "\r\n";
        case LineEnd::kCr:
            return "\r";
        case LineEnd::kNone:
            break;
    }
    return {};
}

// Removes the first line of `text` and returns it with its end.
TextLine TakeLine(std::string_view& text) {
    const std::size_t stop = text.find_first_of("\r\n");
    if (stop == std::string_view::npos) {
        const TextLine last{text, LineEnd::kNone};
        text = {};
        return last;
    }
    TextLine line{text.substr(0, stop), LineEnd::kLf};
    std::size_t length = 1;
    if (text[stop] == '\r') {
        const bool crlf = stop + 1 < text.size() && text[stop + 1] == '\n';
        line.end = crlf ? LineEnd::kCrLf : LineEnd::kCr;
        length = crlf ? 2 : 1;
    }
    text.remove_prefix(stop + length);
    return line;
}

// The most frequent end; LF, then CR LF, then CR on a tie, LF when no line has one.
LineEnd DominantEnd(const std::vector<TextLine>& lines) {
    std::array<std::size_t, 4> counts{};
    for (const TextLine& line : lines) {
        ++counts[static_cast<std::size_t>(line.end)];
    }
    LineEnd dominant = LineEnd::kLf;
    for (const LineEnd end : {LineEnd::kCrLf, LineEnd::kCr}) {
        if (counts[static_cast<std::size_t>(end)] > counts[static_cast<std::size_t>(dominant)]) {
            dominant = end;
        }
    }
    return dominant;
}

}  // namespace

Parsed<SplitText> SplitLines(std::string_view text, const TextLimits& limits) {
    if (text.size() > limits.maxBytes) {
        return ParseError{0, "larger than " + std::to_string(limits.maxBytes) + " bytes"};
    }
    SplitText split;
    if (text.starts_with(kByteOrderMark)) {
        split.layout.byteOrderMark = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty()) {
        const TextLine line = TakeLine(text);
        const std::size_t number = split.lines.size() + 1;
        if (number > limits.maxLines) {
            return ParseError{number, "more than " + std::to_string(limits.maxLines) + " lines"};
        }
        if (line.text.size() > kMaxLineLength) {
            return ParseError{number,
                              "line longer than " + std::to_string(kMaxLineLength) + " bytes"};
        }
        if (line.text.find('\0') != std::string_view::npos) {
            return ParseError{number, "NUL byte"};
        }
        split.lines.push_back(line);
    }
    split.layout.dominantEnd = DominantEnd(split.lines);
    return split;
}

std::size_t CountLines(std::string_view text) {
    std::size_t count = 0;
    while (!text.empty()) {
        TakeLine(text);
        ++count;
    }
    return count;
}

TextWriter::TextWriter(const TextLayout& layout) : dominantEnd_(layout.dominantEnd) {
    if (layout.byteOrderMark) {
        text_ = kByteOrderMark;
    }
}

void TextWriter::Add(std::string_view text, LineEnd end) {
    if (endPending_) {
        text_ += EndText(dominantEnd_);
    }
    text_ += text;
    text_ += EndText(end);
    endPending_ = end == LineEnd::kNone;
}

}  // namespace emulated
