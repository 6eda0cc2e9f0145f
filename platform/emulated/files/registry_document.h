// The registry as stored in system.reg: keys in file order, each with its values, and the
// comment lines found before each key and value so that a rewrite keeps them.
// Key paths are full ("HKEY_LOCAL_MACHINE\System\..."); keys and value names compare
// case-insensitively; the empty value name is the key's default value.
#pragma once

#include "platform/emulated/files/text_lines.h"
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
    std::vector<StoredLine> leading;  // blank and comment lines before the value, as written
    std::vector<StoredLine> source;   // the value as written; empty once the machine set it

    bool operator==(const RegistryValue&) const = default;
};

// One "[path]" header and the values under it. A key written twice in the file is two of
// these, each kept where it stands.
struct RegistryKey {
    std::string path;
    std::vector<StoredLine> leading;  // blank and comment lines before the header, as written
    StoredLine header;                // the "[path]" line as written
    std::vector<RegistryValue> values;

    bool operator==(const RegistryKey&) const = default;
};

struct RegistryDocument {
    TextLayout layout;
    std::vector<StoredLine> head;  // the lines up to the REGEDIT4 line and that line, as written
    std::vector<RegistryKey> keys;
    std::vector<StoredLine> trailing;  // blank and comment lines after the last value

    bool operator==(const RegistryDocument&) const = default;

    // The stored spelling of `path` when it names a key: one written in the file, one of their
    // ancestors, or the root itself.
    std::optional<std::string> ResolveKeyPath(std::string_view path) const;

    // The value that counts: of several of that name in the key, the last, as an import does.
    const RegistryValue* FindValue(std::string_view keyPath, std::string_view name) const;

    // Replaces the data of the value that counts, or appends the value to the key's last
    // header; adds the key at the end when it is not written in the file yet. An existing
    // value keeps its name's spelling and the lines before it.
    void SetValue(std::string_view keyPath, std::string_view name, DWORD type,
                  std::vector<BYTE> data);
};

}  // namespace emulated
