// system.reg: whatever the parser accepts writes back byte for byte; a value of any type and
// content set through the registry's limits reads back as set, and every other value as it was.
#include "platform/emulated/files/ascii_text.h"
#include "platform/emulated/files/registry_text.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Every value of `before` reads the same in `after`, except `name` under `key`.
void ExpectOthersKept(const emulated::RegistryDocument& before,
                      const emulated::RegistryDocument& after, std::string_view key,
                      std::string_view name) {
    for (const emulated::RegistryKey& k : before.keys) {
        for (const emulated::RegistryValue& v : k.values) {
            if (emulated::EqualsIgnoreCase(k.path, key) &&
                emulated::EqualsIgnoreCase(v.name, name)) {
                continue;
            }
            const emulated::RegistryValue* was = before.FindValue(k.path, v.name);
            const emulated::RegistryValue* is = after.FindValue(k.path, v.name);
            Require(is != nullptr && is->type == was->type && is->data == was->data);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text first (its length in the last four bytes, so a file plus "\xff\xff\xff\xff" is
    // all text), then the value to set.
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeBytesAsString(input.ConsumeIntegral<std::uint32_t>());
    const std::string name = input.ConsumeRandomLengthString(64);
    const DWORD type = input.ConsumeIntegralInRange<DWORD>(0, 8);
    const std::vector<BYTE> value = input.ConsumeRemainingBytes<BYTE>();

    const emulated::Parsed<emulated::RegistryDocument> parsed = emulated::ParseRegistryText(text);
    if (!parsed.ok()) {
        const bool wholeText = text.size() > emulated::kRegistryLimits.maxBytes;
        Require((parsed.error().line != 0 || wholeText) && !parsed.error().message.empty());
        return 0;
    }
    Require(emulated::FormatRegistryText(parsed.value()) == text);

    if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos ||
        value.size() > emulated::kMaxRegistryValueSize) {
        return 0;  // the registry refuses these; a C string holds no NUL
    }
    emulated::RegistryDocument changed = parsed.value();
    const std::string key =
        changed.keys.empty() ? "HKEY_LOCAL_MACHINE\\Fuzz" : changed.keys.back().path;
    changed.SetValue(key, name, type, value);
    const std::string written = emulated::FormatRegistryText(changed);
    if (written.size() > emulated::kRegistryLimits.maxBytes ||
        emulated::CountLines(written) > emulated::kRegistryLimits.maxLines) {
        return 0;  // the machine refuses to write a file it could not read back
    }
    const emulated::Parsed<emulated::RegistryDocument> again = emulated::ParseRegistryText(written);
    Require(again.ok() && emulated::FormatRegistryText(again.value()) == written);
    const emulated::RegistryValue* stored = again.value().FindValue(key, name);
    Require(stored != nullptr && stored->data == value && stored->type == type);
    ExpectOthersKept(parsed.value(), again.value(), key, name);
    return 0;
}
