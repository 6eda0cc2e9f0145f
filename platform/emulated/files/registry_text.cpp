#include "platform/emulated/files/registry_text.h"

#include "platform/emulated/files/ascii_text.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace emulated {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::size_t kMaxContinuedValueLength = 4 * 1024 * 1024;
constexpr std::size_t kHexLineWidth = 80;

std::optional<unsigned> HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    const char lower = AsciiLower(c);
    if (lower >= 'a' && lower <= 'f') {
        return static_cast<unsigned>(lower - 'a' + 10);
    }
    return std::nullopt;
}

// 1 to `maxDigits` hexadecimal digits and nothing else.
std::optional<std::uint32_t> ParseHexNumber(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (char c : text) {
        const std::optional<unsigned> digit = HexDigit(c);
        if (!digit) {
            return std::nullopt;
        }
        number = number * 16u + *digit;
    }
    return number;
}

// Reads a quoted text whose opening quote is already consumed and leaves `rest` after the
// closing quote. Only \\ and \" are escapes; any other backslash stands for itself.
std::optional<std::string> TakeQuoted(std::string_view& rest) {
    std::string text;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '"') {
            rest.remove_prefix(i + 1);
            return text;
        }
        if (c == '\\' && i + 1 < rest.size() && (rest[i + 1] == '\\' || rest[i + 1] == '"')) {
            ++i;
        }
        text += rest[i];
    }
    return std::nullopt;
}

std::vector<BYTE> LittleEndian(std::uint32_t number) {
    return {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
            static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)};
}

// Comma-separated bytes of one or two hex digits; a trailing comma is allowed.
std::optional<std::vector<BYTE>> ParseHexBytes(std::string_view list) {
    std::vector<BYTE> bytes;
    list = Trim(list);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::optional<std::uint32_t> byte = ParseHexNumber(Trim(list.substr(0, comma)), 2);
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<BYTE>(*byte));
        list =
            comma == std::string_view::npos ? std::string_view{} : TrimLeft(list.substr(comma + 1));
    }
    return bytes;
}

class RegistryParser {
public:
    explicit RegistryParser(const SplitText& split) : lines_(split.lines) {
        document_.layout = split.layout;
    }

    Parsed<RegistryDocument> Run() {
        while (next_ < lines_.size() && Trim(lines_[next_].text).empty()) {
            document_.head.push_back(Stored(lines_[next_++]));
        }
        if (next_ == lines_.size()) {
            return std::move(document_);
        }
        if (!EqualsIgnoreCase(Trim(lines_[next_].text), kHeader)) {
            return Error("missing REGEDIT4 header");
        }
        document_.head.push_back(Stored(lines_[next_]));
        for (++next_; next_ < lines_.size(); ++next_) {
            if (std::optional<ParseError> error = ParseLine(TrimLeft(lines_[next_].text))) {
                return *std::move(error);
            }
        }
        document_.trailing = std::move(pending_);
        return std::move(document_);
    }

private:
    static StoredLine Stored(const TextLine& line) {
        return StoredLine{std::string(line.text), line.end};
    }

    ParseError Error(std::string message) const {
        return ParseError{next_ + 1, std::move(message)};
    }

    std::optional<ParseError> ParseLine(std::string_view line) {
        if (line.empty() || line.front() == ';') {
            pending_.push_back(Stored(lines_[next_]));
            return std::nullopt;
        }
        if (line.front() == '[') {
            return ParseKeyHeader(TrimRight(line));
        }
        if (line.front() == '"' || line.front() == '@') {
            return ParseValue(line);
        }
        return Error("unrecognised line");
    }

    std::optional<ParseError> ParseKeyHeader(std::string_view line) {
        if (!line.ends_with(']')) {
            return Error("unterminated key name");
        }
        const std::string_view path = line.substr(1, line.size() - 2);
        if (path.starts_with('-')) {
            return Error("key deletion is not a stored key");
        }
        const std::string_view root = path.substr(0, path.find('\\'));
        static constexpr std::string_view kRoots[] = {"HKEY_LOCAL_MACHINE",  "HKEY_CURRENT_USER",
                                                      "HKEY_CLASSES_ROOT",   "HKEY_USERS",
                                                      "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
        if (std::none_of(std::begin(kRoots), std::end(kRoots),
                         [&](std::string_view known) { return EqualsIgnoreCase(root, known); })) {
            return Error("unknown root key");
        }
        document_.keys.push_back(
            RegistryKey{std::string(path), std::move(pending_), Stored(lines_[next_]), {}});
        pending_.clear();
        return std::nullopt;
    }

    std::optional<ParseError> ParseValue(std::string_view line) {
        if (document_.keys.empty()) {
            return Error("value outside a key");
        }
        const std::size_t firstLine = next_;
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else {
            line.remove_prefix(1);
            std::optional<std::string> quoted = TakeQuoted(line);
            if (!quoted) {
                return Error("unterminated value name");
            }
            name = *std::move(quoted);
            if (name.size() > kMaxRegistryValueNameLength) {
                return Error("value name longer than " +
                             std::to_string(kMaxRegistryValueNameLength) + " characters");
            }
        }
        line = TrimLeft(line);
        if (!line.starts_with('=')) {
            return Error("expected '=' after the value name");
        }
        line = TrimLeft(line.substr(1));

        RegistryValue value{std::move(name), REG_NONE, {}, std::move(pending_), {}};
        pending_.clear();
        if (std::optional<ParseError> error = ParseData(line, value)) {
            return error;
        }
        for (std::size_t i = firstLine; i <= next_; ++i) {
            value.source.push_back(Stored(lines_[i]));
        }
        document_.keys.back().values.push_back(std::move(value));
        return std::nullopt;
    }

    std::optional<ParseError> ParseData(std::string_view data, RegistryValue& value) {
        if (data.starts_with('"')) {
            data.remove_prefix(1);
            std::optional<std::string> text = TakeQuoted(data);
            if (!text) {
                return Error("unterminated string");
            }
            if (!Trim(data).empty()) {
                return Error("unexpected text after the string");
            }
            value.type = REG_SZ;
            value.data.assign(text->begin(), text->end());
            value.data.push_back(0);
            return std::nullopt;
        }
        if (StartsWithIgnoreCase(data, "dword:")) {
            const std::optional<std::uint32_t> number = ParseHexNumber(Trim(data.substr(6)), 8);
            if (!number) {
                return Error("bad dword");
            }
            value.type = REG_DWORD;
            value.data = LittleEndian(*number);
            return std::nullopt;
        }
        if (StartsWithIgnoreCase(data, "hex")) {
            return ParseHex(data.substr(3), value);
        }
        if (data == "-") {
            return Error("value deletion is not a stored value");
        }
        return Error("unrecognised value data");
    }

    // `data` follows "hex": either ":" or "(type):", then bytes, continued on the next lines
    // while a line ends with a backslash.
    std::optional<ParseError> ParseHex(std::string_view data, RegistryValue& value) {
        const std::size_t firstLine = next_;
        value.type = REG_BINARY;
        if (data.starts_with('(')) {
            const std::size_t close = data.find(')');
            const std::optional<std::uint32_t> type =
                close == std::string_view::npos ? std::nullopt
                                                : ParseHexNumber(data.substr(1, close - 1), 8);
            if (!type) {
                return Error("bad hex type");
            }
            value.type = *type;
            data.remove_prefix(close + 1);
        }
        if (!data.starts_with(':')) {
            return Error("expected ':' after hex");
        }
        std::string list;
        std::string_view piece = TrimRight(data.substr(1));
        while (piece.ends_with('\\')) {
            piece.remove_suffix(1);
            list += piece;
            if (++next_ == lines_.size()) {
                --next_;
                return Error("continued value ends at the end of the file");
            }
            piece = Trim(lines_[next_].text);
            if (list.size() + piece.size() > kMaxContinuedValueLength) {
                return Error("value longer than " + std::to_string(kMaxContinuedValueLength) +
                             " bytes of text");
            }
        }
        list += piece;
        std::optional<std::vector<BYTE>> bytes = ParseHexBytes(list);
        if (!bytes) {
            return ParseError{firstLine + 1, "bad hex byte"};
        }
        if (bytes->size() > kMaxRegistryValueSize) {
            return ParseError{firstLine + 1, "value longer than " +
                                                 std::to_string(kMaxRegistryValueSize) + " bytes"};
        }
        value.data = *std::move(bytes);
        return std::nullopt;
    }

    const std::vector<TextLine>& lines_;
    std::size_t next_ = 0;
    RegistryDocument document_;
    std::vector<StoredLine> pending_;  // blank and comment lines not yet placed
};

std::string Quote(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') {
            quoted += '\\';
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string HexNumber(std::uint32_t number, std::size_t minDigits) {
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789abcdef"[number & 0x0F]);
        number >>= 4;
    } while (number != 0 || digits.size() < minDigits);
    return digits;
}

// The quoted form, when the value is a zero-terminated text that fits on one line.
std::optional<std::string> AsQuotedString(const RegistryValue& value, std::size_t headLength) {
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0) {
        return std::nullopt;
    }
    const std::string_view text(reinterpret_cast<const char*>(value.data.data()),
                                value.data.size() - 1);
    if (text.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos) {
        return std::nullopt;
    }
    std::string quoted = Quote(text);
    if (headLength + quoted.size() > kMaxLineLength) {
        return std::nullopt;
    }
    return quoted;
}

// regedit's layout: bytes wrapped before column 80, continuation lines indented by two.
void WriteHexLines(TextWriter& writer, LineEnd end, std::string line,
                   const std::vector<BYTE>& data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        const std::string item = HexNumber(data[i], 2) + (i + 1 < data.size() ? "," : "");
        if (line.size() + item.size() + 1 > kHexLineWidth) {
            writer.Add(line + "\\", end);
            line = "  ";
        }
        line += item;
    }
    writer.Add(line, end);
}

// A value the machine set, in the most readable form that holds it.
void WriteValueLines(TextWriter& writer, LineEnd end, const RegistryValue& value) {
    std::string head = (value.name.empty() ? std::string("@") : Quote(value.name)) + "=";
    if (std::optional<std::string> quoted = AsQuotedString(value, head.size())) {
        writer.Add(head + *quoted, end);
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        const std::uint32_t number = static_cast<std::uint32_t>(value.data[0]) |
                                     static_cast<std::uint32_t>(value.data[1]) << 8 |
                                     static_cast<std::uint32_t>(value.data[2]) << 16 |
                                     static_cast<std::uint32_t>(value.data[3]) << 24;
        writer.Add(head + "dword:" + HexNumber(number, 8), end);
    } else {
        head += value.type == REG_BINARY ? "hex:" : "hex(" + HexNumber(value.type, 1) + "):";
        WriteHexLines(writer, end, std::move(head), value.data);
    }
}

void WriteLines(TextWriter& writer, const std::vector<StoredLine>& lines) {
    for (const StoredLine& line : lines) {
        writer.Add(line);
    }
}

bool EndsWithHeader(const std::vector<StoredLine>& head) {
    return !head.empty() && EqualsIgnoreCase(Trim(head.back().text), kHeader);
}

}  // namespace

Parsed<RegistryDocument> ParseRegistryText(std::string_view text) {
    Parsed<SplitText> split = SplitLines(text, kRegistryLimits);
    if (!split.ok()) {
        return split.error();
    }
    return RegistryParser(split.value()).Run();
}

std::string FormatRegistryText(const RegistryDocument& document) {
    const LineEnd end = document.layout.dominantEnd;
    TextWriter writer(document.layout);
    WriteLines(writer, document.head);
    if (!EndsWithHeader(document.head) && !document.keys.empty()) {
        writer.Add(kHeader, end);
    }
    for (const RegistryKey& key : document.keys) {
        WriteLines(writer, key.leading);
        writer.Add(key.header);
        for (const RegistryValue& value : key.values) {
            WriteLines(writer, value.leading);
            if (value.source.empty()) {
                WriteValueLines(writer, end, value);
            } else {
                WriteLines(writer, value.source);
            }
        }
    }
    WriteLines(writer, document.trailing);
    return std::move(writer).Finish();
}

}  // namespace emulated
