// INI files: whatever the parser accepts writes back byte for byte; an entry set in it reads
// back as set while every other entry stays as it was, and removing a key or a section removes
// only that.
#include "platform/emulated/files/ascii_text.h"
#include "platform/emulated/files/ini_text.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The document read back from its text; nothing when the text outgrew the limits (the machine
// refuses to write it).
std::optional<emulated::IniDocument> Reparse(const emulated::IniDocument& document) {
    const std::string text = emulated::FormatIniText(document);
    if (text.size() > emulated::kIniLimits.maxBytes ||
        emulated::CountLines(text) > emulated::kIniLimits.maxLines) {
        return std::nullopt;
    }
    const emulated::Parsed<emulated::IniDocument> again = emulated::ParseIniText(text);
    Require(again.ok() && emulated::FormatIniText(again.value()) == text);
    return again.value();
}

// Every entry of `before` reads the same in `after`, except those `changed` names.
template <class Changed>
void ExpectOthersKept(const emulated::IniDocument& before, const emulated::IniDocument& after,
                      Changed&& changed) {
    for (const emulated::IniSection& s : before.sections) {
        for (const emulated::IniLine& line : s.lines) {
            if (line.entry && !changed(s.name, line.key)) {
                Require(before.Get(s.name, line.key) == after.Get(s.name, line.key));
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text first (its length in the last four bytes, so a file plus "\xff\xff\xff\xff" is
    // all text), then the entry to set.
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeBytesAsString(input.ConsumeIntegral<std::uint32_t>());
    const std::string section = input.ConsumeRandomLengthString(32);
    const std::string key = input.ConsumeRandomLengthString(32);
    const std::string value = input.ConsumeRemainingBytesAsString();

    const emulated::Parsed<emulated::IniDocument> parsed = emulated::ParseIniText(text);
    if (!parsed.ok()) {
        Require(!parsed.error().message.empty());
        return 0;
    }
    const emulated::IniDocument& document = parsed.value();
    Require(emulated::FormatIniText(document) == text);
    const auto inSection = [&](std::string_view s) {
        return emulated::EqualsIgnoreCase(s, emulated::Trim(section));
    };

    emulated::IniDocument withoutSection = document;
    withoutSection.RemoveSection(section);
    const std::optional<emulated::IniDocument> removed = Reparse(withoutSection);
    Require(removed.has_value() && !removed->Get(section, key).has_value());
    ExpectOthersKept(document, *removed,
                     [&](std::string_view s, std::string_view) { return inSection(s); });

    if (!emulated::IniDocument::CanStore(section, key, value)) {
        return 0;
    }
    const auto isTarget = [&](std::string_view s, std::string_view k) {
        return inSection(s) && emulated::EqualsIgnoreCase(k, emulated::Trim(key));
    };
    emulated::IniDocument changed = document;
    changed.Set(section, key, value);
    std::optional<emulated::IniDocument> set = Reparse(changed);
    if (!set) {
        return 0;
    }
    Require(set->Get(section, key) == std::string(emulated::Trim(value)));
    ExpectOthersKept(document, *set, isTarget);

    set->RemoveKey(section, key);
    const std::optional<emulated::IniDocument> unset = Reparse(*set);
    Require(unset.has_value() && !unset->Get(section, key).has_value());
    ExpectOthersKept(document, *unset, isTarget);
    return 0;
}
