// system.reg: what parses writes back byte for byte; a value set reads back, the others as were.
#include "platform/emulated/files/ascii_text.h"
#include "platform/emulated/files/registry_text.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace emulated {
namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The text first (its length in the last four bytes, so a file plus "\xff\xff\xff\xff" is all
// text), then the value to set.
int Fuzz(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeBytesAsString(input.ConsumeIntegral<std::uint32_t>());
    const std::string name = input.ConsumeRandomLengthString(64);
    const DWORD type = input.ConsumeIntegralInRange<DWORD>(0, 8);
    const std::vector<BYTE> value = input.ConsumeRemainingBytes<BYTE>();

    const Parsed<RegistryDocument> parsed = ParseRegistryText(text);
    if (!parsed.ok()) {  // a refused text names a line, unless it is refused whole
        Require((parsed.error().line != 0 || text.size() > kRegistryLimits.maxBytes) &&
                !parsed.error().message.empty());
        return 0;
    }
    Require(FormatRegistryText(parsed.value()) == text);
    if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos ||
        value.size() > kMaxRegistryValueSize) {
        return 0;  // the registry refuses these; a C string holds no NUL
    }
    RegistryDocument changed = parsed.value();
    const std::string key =
        changed.keys.empty() ? "HKEY_LOCAL_MACHINE\\Fuzz" : changed.keys.back().path;
    changed.SetValue(key, name, type, value);
    const std::string written = FormatRegistryText(changed);
    if (written.size() > kRegistryLimits.maxBytes ||
        CountLines(written) > kRegistryLimits.maxLines) {
        return 0;  // the machine refuses to write a file it could not read back
    }
    const Parsed<RegistryDocument> again = ParseRegistryText(written);
    Require(again.ok() && FormatRegistryText(again.value()) == written);
    for (const RegistryKey& k : parsed.value().keys) {
        for (const RegistryValue& v : k.values) {
            const RegistryValue* was = parsed.value().FindValue(k.path, v.name);
            const RegistryValue* is = again.value().FindValue(k.path, v.name);
            Require((EqualsIgnoreCase(k.path, key) && EqualsIgnoreCase(v.name, name)) ||
                    (is != nullptr && is->type == was->type && is->data == was->data));
        }
    }
    const RegistryValue* stored = again.value().FindValue(key, name);
    Require(stored != nullptr && stored->type == type && stored->data == value);
    return 0;
}

}  // namespace
}  // namespace emulated

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return emulated::Fuzz(data, size);
}
