// INI files: what parses writes back byte for byte; setting or removing an entry or a section
// changes only that.
#include "platform/emulated/files/ascii_text.h"
#include "platform/emulated/files/ini_text.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace emulated {
namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// `after` reads back as written: `key` of `section` as `value`, every other entry of `before`
// as it was. A text beyond the limits passes: the machine refuses to write it.
void Check(const IniDocument& before, const IniDocument& after, const std::string& section,
           const std::string& key, const std::optional<std::string>& value, bool wholeSection) {
    const std::string text = FormatIniText(after);
    if (text.size() > kIniLimits.maxBytes || CountLines(text) > kIniLimits.maxLines) {
        return;
    }
    const Parsed<IniDocument> again = ParseIniText(text);
    Require(again.ok() && FormatIniText(again.value()) == text);
    Require(again.value().Get(section, key) == value);
    for (const IniSection& s : before.sections) {
        for (const IniLine& line : s.lines) {
            const bool changed = EqualsIgnoreCase(s.name, Trim(section)) &&
                                 (wholeSection || EqualsIgnoreCase(line.key, Trim(key)));
            Require(!line.entry || changed ||
                    before.Get(s.name, line.key) == again.value().Get(s.name, line.key));
        }
    }
}

// The text first (its length in the last four bytes, so a file plus "\xff\xff\xff\xff" is all
// text), then the entry to set.
int Fuzz(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeBytesAsString(input.ConsumeIntegral<std::uint32_t>());
    const std::string section = input.ConsumeRandomLengthString(32);
    const std::string key = input.ConsumeRandomLengthString(32);
    const std::string value = input.ConsumeRemainingBytesAsString();

    const Parsed<IniDocument> parsed = ParseIniText(text);
    Require(parsed.ok() ? FormatIniText(parsed.value()) == text : !parsed.error().message.empty());
    if (!parsed.ok()) {
        return 0;
    }
    IniDocument changed = parsed.value();
    changed.RemoveSection(section);
    Check(parsed.value(), changed, section, key, std::nullopt, true);
    if (IniDocument::CanStore(section, key, value)) {
        changed = parsed.value();
        changed.Set(section, key, value);
        Check(parsed.value(), changed, section, key, std::string(Trim(value)), false);
        changed.RemoveKey(section, key);
        Check(parsed.value(), changed, section, key, std::nullopt, false);
    }
    return 0;
}

}  // namespace
}  // namespace emulated

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return emulated::Fuzz(data, size);
}
