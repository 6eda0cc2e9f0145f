#include "platform/emulated/registry/registry_overlay.h"

#include "platform/emulated/files/ascii_text.h"

namespace emulated {

OverlayValue OverlayText(std::string keyPath, std::string name, std::string_view text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    return OverlayValue{std::move(keyPath), RegistryValue{std::move(name), REG_SZ, data, {}, {}}};
}

const RegistryValue* FindOverlayValue(const RegistryOverlay& overlay, std::string_view keyPath,
                                      std::string_view name) {
    for (const OverlayValue& entry : overlay) {
        if (EqualsIgnoreCase(entry.keyPath, keyPath) && EqualsIgnoreCase(entry.value.name, name)) {
            return &entry.value;
        }
    }
    return nullptr;
}

std::optional<std::string> OverlayKeyPath(const RegistryOverlay& overlay, std::string_view path) {
    for (const OverlayValue& entry : overlay) {
        const std::string_view key = entry.keyPath;
        if (EqualsIgnoreCase(key, path) || (StartsWithIgnoreCase(key, path) &&
                                            key.size() > path.size() && key[path.size()] == '\\')) {
            return std::string(key.substr(0, path.size()));
        }
    }
    return std::nullopt;
}

}  // namespace emulated
