// system.reg: whatever the parser accepts, the writer writes back so that it reads the same,
// also after a value of any type and content is set through the registry's limits.
#include "platform/emulated/registry_text.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

void ExpectRoundTrip(const emulated::RegistryDocument& document) {
    const std::string text = emulated::FormatRegistryText(document);
    const emulated::Parsed<emulated::RegistryDocument> again = emulated::ParseRegistryText(text);
    if (!again.ok() || !(again.value() == document) ||
        emulated::FormatRegistryText(again.value()) != text) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text first (its length in the last two bytes, so a file plus "\xff\xff" is all
    // text), then the value to set.
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeBytesAsString(input.ConsumeIntegral<std::uint16_t>());
    const std::string name = input.ConsumeRandomLengthString(64);
    const DWORD type = input.ConsumeIntegralInRange<DWORD>(0, 8);
    const std::vector<BYTE> value = input.ConsumeRemainingBytes<BYTE>();

    const emulated::Parsed<emulated::RegistryDocument> parsed = emulated::ParseRegistryText(text);
    if (!parsed.ok()) {
        if (parsed.error().line == 0 || parsed.error().message.empty()) {
            std::abort();
        }
        return 0;
    }
    ExpectRoundTrip(parsed.value());

    if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
        return 0;  // the registry refuses line breaks; a C string holds no NUL
    }
    emulated::RegistryDocument changed = parsed.value();
    const std::string key =
        changed.keys.empty() ? "HKEY_LOCAL_MACHINE\\Fuzz" : changed.keys.back().path;
    changed.SetValue(key, name, type, value);
    const emulated::RegistryValue* stored = changed.FindValue(key, name);
    if (stored == nullptr || stored->data != value || stored->type != type) {
        std::abort();
    }
    ExpectRoundTrip(changed);
    return 0;
}
