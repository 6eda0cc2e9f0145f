// The registry functions over system.reg: HKEY_LOCAL_MACHINE and the keys opened below it,
// with the platform's access checks, buffer sizes and error codes. Reads come from memory;
// every set is written through to the file. An overlay of read-only values (those of the real
// devices) stands in front of the file.
#pragma once

#include "platform/emulated/files/registry_document.h"
#include "platform/emulated/files/stored_document.h"
#include "platform/emulated/registry/handle_table.h"
#include "platform/emulated/registry/registry_overlay.h"
#include "platform/win32api.h"

#include <string>

namespace emulated {

// The platform's code for a handle whose key no longer exists.
inline constexpr LONG kErrorKeyDeleted = 1018;

class RegistryService {
public:
    explicit RegistryService(StoredDocument<RegistryDocument>& file) : file_(file) {}

    LONG Open(HKEY parent, LPCSTR subKey, REGSAM access, PHKEY result);
    LONG Query(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
               LPDWORD size) const;
    LONG Set(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size);
    LONG Close(HKEY key);

    void SetOverlay(RegistryOverlay overlay) { overlay_ = std::move(overlay); }

private:
    struct OpenKey {
        std::string path;  // full, as stored
        REGSAM access;
    };

    // HKEY_LOCAL_MACHINE, or a key opened here and not closed yet.
    const OpenKey* Find(HKEY key) const;

    StoredDocument<RegistryDocument>& file_;
    HandleTable<OpenKey> open_;
    RegistryOverlay overlay_;
};

}  // namespace emulated
