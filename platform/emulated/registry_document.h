// The registry as stored in system.reg: keys in file order, each with its values, and the
// comment lines found before each key and value so that a rewrite keeps them.
// Key paths are full ("HKEY_LOCAL_MACHINE\System\..."); keys and value names compare
// case-insensitively; the empty value name is the key's default value.
#pragma once

#include "platform/emulated/text_lines.h"
#include "platform/win32api.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emulated {

inline constexpr std::string_view kLocalMachineRoot = "HKEY_LOCAL_MACHINE";

struct RegistryValue {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    std::vector<std::string> comments;  // comment lines before the value, as written

    bool operator==(const RegistryValue&) const = default;
};

struct RegistryKey {
    std::string path;
    std::vector<std::string> comments;  // comment lines before the key, as written
    std::vector<RegistryValue> values;

    bool operator==(const RegistryKey&) const = default;
};

struct RegistryDocument {
    TextLayout layout;
    std::vector<RegistryKey> keys;
    std::vector<std::string> trailingComments;  // comment lines after the last value

    bool operator==(const RegistryDocument&) const = default;

    const RegistryKey* FindKey(std::string_view path) const;
    RegistryKey* FindKey(std::string_view path);

    // The stored spelling of `path` when it names a key: one written in the file, one of their
    // ancestors, or the root itself.
    std::optional<std::string> ResolveKeyPath(std::string_view path) const;

    const RegistryValue* FindValue(std::string_view keyPath, std::string_view name) const;

    // Replaces the value whole, or appends it; adds the key at the end when it is not written
    // in the file yet. An existing value keeps its name's spelling and its comments.
    void SetValue(std::string_view keyPath, std::string_view name, DWORD type,
                  std::vector<BYTE> data);
};

}  // namespace emulated
