// Registry values the machine shows without storing them: read-only, in memory only, in front of
// system.reg. The keys they name can be opened even when system.reg does not hold them.
#pragma once

#include "platform/emulated/files/registry_document.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emulated {

struct OverlayValue {
    std::string keyPath;  // full, "HKEY_LOCAL_MACHINE\..."
    RegistryValue value;
};

using RegistryOverlay = std::vector<OverlayValue>;

OverlayValue OverlayText(std::string keyPath, std::string name, std::string_view text);

const RegistryValue* FindOverlayValue(const RegistryOverlay& overlay, std::string_view keyPath,
                                      std::string_view name);

// The overlay's spelling of `path` when it names one of its keys or one of their ancestors.
std::optional<std::string> OverlayKeyPath(const RegistryOverlay& overlay, std::string_view path);

}  // namespace emulated
