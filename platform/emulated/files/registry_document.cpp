#include "platform/emulated/files/registry_document.h"

#include "platform/emulated/files/ascii_text.h"

#include <algorithm>

namespace emulated {

namespace {

bool NamesKey(const RegistryKey& key, std::string_view path) {
    return EqualsIgnoreCase(key.path, path);
}

// The value that counts, in the const and the mutable document alike.
template <class Keys>
auto FindValueIn(Keys& keys, std::string_view keyPath, std::string_view name)
    -> decltype(&keys.front().values.front()) {
    decltype(&keys.front().values.front()) found = nullptr;
    for (auto& key : keys) {
        if (!NamesKey(key, keyPath)) {
            continue;
        }
        for (auto& value : key.values) {
            if (EqualsIgnoreCase(value.name, name)) {
                found = &value;
            }
        }
    }
    return found;
}

}  // namespace

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
    return FindValueIn(keys, keyPath, name);
}

void RegistryDocument::SetValue(std::string_view keyPath, std::string_view name, DWORD type,
                                std::vector<BYTE> data) {
    if (RegistryValue* value = FindValueIn(keys, keyPath, name)) {
        value->type = type;
        value->data = std::move(data);
        value->source.clear();
        return;
    }
    const auto last = std::find_if(keys.rbegin(), keys.rend(),
                                   [&](const RegistryKey& key) { return NamesKey(key, keyPath); });
    RegistryKey* key = last == keys.rend() ? nullptr : &*last;
    if (key == nullptr) {
        const std::string path(keyPath);
        key = &keys.emplace_back(RegistryKey{path,
                                             {StoredLine{{}, layout.dominantEnd}},
                                             StoredLine{"[" + path + "]", layout.dominantEnd},
                                             {}});
    }
    key->values.push_back(RegistryValue{std::string(name), type, std::move(data), {}, {}});
}

}  // namespace emulated
