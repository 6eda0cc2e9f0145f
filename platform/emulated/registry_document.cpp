#include "platform/emulated/registry_document.h"

#include "platform/emulated/ascii_text.h"

#include <algorithm>

namespace emulated {

namespace {

// For the const and the mutable vector alike.
template <class Keys>
auto FindKeyIn(Keys& keys, std::string_view path) -> decltype(&keys.front()) {
    const auto found = std::find_if(keys.begin(), keys.end(), [&](const RegistryKey& key) {
        return EqualsIgnoreCase(key.path, path);
    });
    return found == keys.end() ? nullptr : &*found;
}

}  // namespace

const RegistryKey* RegistryDocument::FindKey(std::string_view path) const {
    return FindKeyIn(keys, path);
}

RegistryKey* RegistryDocument::FindKey(std::string_view path) {
    return FindKeyIn(keys, path);
}

std::optional<std::string> RegistryDocument::ResolveKeyPath(std::string_view path) const {
    if (EqualsIgnoreCase(path, kLocalMachineRoot)) {
        return std::string(kLocalMachineRoot);
    }
    for (const RegistryKey& key : keys) {
        const std::string_view stored = key.path;
        const bool sameOrBelow = StartsWithIgnoreCase(stored, path) &&
                                 (stored.size() == path.size() || stored[path.size()] == '\\');
        if (sameOrBelow) {
            return std::string(stored.substr(0, path.size()));
        }
    }
    return std::nullopt;
}

const RegistryValue* RegistryDocument::FindValue(std::string_view keyPath,
                                                 std::string_view name) const {
    const RegistryKey* key = FindKey(keyPath);
    if (key == nullptr) {
        return nullptr;
    }
    const auto found =
        std::find_if(key->values.begin(), key->values.end(),
                     [&](const RegistryValue& v) { return EqualsIgnoreCase(v.name, name); });
    return found == key->values.end() ? nullptr : &*found;
}

void RegistryDocument::SetValue(std::string_view keyPath, std::string_view name, DWORD type,
                                std::vector<BYTE> data) {
    RegistryKey* key = FindKey(keyPath);
    if (key == nullptr) {
        key = &keys.emplace_back(RegistryKey{std::string(keyPath), {}, {}});
    }
    for (RegistryValue& value : key->values) {
        if (EqualsIgnoreCase(value.name, name)) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    key->values.push_back(RegistryValue{std::string(name), type, std::move(data), {}});
}

}  // namespace emulated
