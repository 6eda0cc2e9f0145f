#include "platform/emulated/files/ini_text.h"

#include "platform/emulated/files/ascii_text.h"

namespace emulated {

Parsed<IniDocument> ParseIniText(std::string_view text) {
    Parsed<SplitText> split = SplitLines(text, kIniLimits);
    if (!split.ok()) {
        return split.error();
    }
    IniDocument document;
    document.layout = split.value().layout;
    std::vector<IniLine>* lines = &document.preamble;
    std::size_t number = 0;
    for (const auto& [raw, end] : split.value().lines) {
        ++number;
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            lines->push_back(IniLine{std::string(raw), end, false, {}, {}});
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) {
                return ParseError{number, "unterminated section name"};
            }
            document.sections.push_back(IniSection{std::string(Trim(line.substr(1, close - 1))),
                                                   StoredLine{std::string(raw), end},
                                                   {}});
            lines = &document.sections.back().lines;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return ParseError{number, "expected key=value"};
        }
        lines->push_back(IniLine{std::string(raw), end, true,
                                 std::string(Trim(line.substr(0, equals))),
                                 std::string(Trim(line.substr(equals + 1)))});
    }
    return document;
}

std::string FormatIniText(const IniDocument& document) {
    TextWriter writer(document.layout);
    for (const IniLine& line : document.preamble) {
        writer.Add(line.text, line.end);
    }
    for (const IniSection& section : document.sections) {
        writer.Add(section.header);
        for (const IniLine& line : section.lines) {
            writer.Add(line.text, line.end);
        }
    }
    return std::move(writer).Finish();
}

}  // namespace emulated
