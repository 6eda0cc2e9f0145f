// INI files: whatever the parser accepts reads back the same after writing, and an entry set
// in it reads back as set while every other entry stays as it was.
#include "platform/emulated/ascii_text.h"
#include "platform/emulated/ini_text.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>

namespace {

emulated::IniDocument Reparse(const emulated::IniDocument& document) {
    const emulated::Parsed<emulated::IniDocument> again =
        emulated::ParseIniText(emulated::FormatIniText(document));
    if (!again.ok() || !(again.value() == document)) {
        std::abort();
    }
    return again.value();
}

// Every entry other than `section`/`key` reads the same in both.
void ExpectOthersKept(const emulated::IniDocument& before, const emulated::IniDocument& after,
                      std::string_view section, std::string_view key) {
    for (const emulated::IniSection& s : before.sections) {
        for (const emulated::IniLine& line : s.lines) {
            const bool target = emulated::EqualsIgnoreCase(s.name, emulated::Trim(section)) &&
                                emulated::EqualsIgnoreCase(line.key, emulated::Trim(key));
            if (line.entry && !target &&
                before.Get(s.name, line.key) != after.Get(s.name, line.key)) {
                std::abort();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text first (its length in the last two bytes, so a file plus "\xff\xff" is all
    // text), then the entry to set.
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeBytesAsString(input.ConsumeIntegral<std::uint16_t>());
    const std::string section = input.ConsumeRandomLengthString(32);
    const std::string key = input.ConsumeRandomLengthString(32);
    const std::string value = input.ConsumeRemainingBytesAsString();

    const emulated::Parsed<emulated::IniDocument> parsed = emulated::ParseIniText(text);
    if (!parsed.ok()) {
        return 0;
    }
    const emulated::IniDocument document = Reparse(parsed.value());
    if (!emulated::IniDocument::CanStore(section, key, value)) {
        return 0;
    }
    emulated::IniDocument changed = document;
    changed.Set(section, key, value);
    changed = Reparse(changed);
    if (changed.Get(section, key) != std::string(emulated::Trim(value))) {
        std::abort();
    }
    ExpectOthersKept(document, changed, section, key);

    changed.RemoveKey(section, key);
    if (Reparse(changed).Get(section, key).has_value()) {
        std::abort();
    }
    return 0;
}
