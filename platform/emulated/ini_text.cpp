#include "platform/emulated/ini_text.h"

#include "platform/emulated/ascii_text.h"

namespace emulated {

Parsed<IniDocument> ParseIniText(std::string_view text) {
    Parsed<SplitText> split = SplitLines(text);
    if (!split.ok()) {
        return split.error();
    }
    IniDocument document;
    document.layout = split.value().layout;
    std::vector<IniLine>* lines = &document.preamble;
    std::size_t number = 0;
    for (std::string_view raw : split.value().lines) {
        ++number;
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            lines->push_back(IniLine{std::string(raw), false, {}, {}});
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) {
                return ParseError{number, "unterminated section name"};
            }
            document.sections.push_back(
                IniSection{std::string(Trim(line.substr(1, close - 1))), std::string(raw), {}});
            lines = &document.sections.back().lines;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return ParseError{number, "expected key=value"};
        }
        lines->push_back(IniLine{std::string(raw), true, std::string(Trim(line.substr(0, equals))),
                                 std::string(Trim(line.substr(equals + 1)))});
    }
    return document;
}

std::string FormatIniText(const IniDocument& document) {
    std::vector<std::string> lines;
    for (const IniLine& line : document.preamble) {
        lines.push_back(line.text);
    }
    for (const IniSection& section : document.sections) {
        lines.push_back(section.header);
        for (const IniLine& line : section.lines) {
            lines.push_back(line.text);
        }
    }
    return JoinLines(lines, document.layout);
}

}  // namespace emulated
