#include "platform/emulated/registry/registry_service.h"

#include "platform/emulated/files/registry_text.h"

#include <cerrno>
#include <cstring>

namespace emulated {

namespace {

constexpr REGSAM kAllAccess = 0xF003F;

std::uintptr_t HandleValue(HKEY key) {
    return reinterpret_cast<std::uintptr_t>(key);
}

// A name the file can hold: within the platform's length and on one line.
bool IsStorableValueName(std::string_view name) {
    return name.size() <= kMaxRegistryValueNameLength &&
           name.find_first_of("\r\n") == std::string_view::npos;
}

LONG RegistryErrorOf(const WriteResult& result) {
    switch (result.status) {
        case WriteStatus::kStored:
            return ERROR_SUCCESS;
        case WriteStatus::kDeclined:
            return kErrorKeyDeleted;
        case WriteStatus::kUnreadable:
            return ERROR_WRITE_FAULT;
        case WriteStatus::kFailed:
            break;
    }
    const bool refused = result.error == EACCES || result.error == EPERM || result.error == EROFS;
    return refused ? ERROR_ACCESS_DENIED : ERROR_WRITE_FAULT;
}

}  // namespace

const RegistryService::OpenKey* RegistryService::Find(HKEY key) const {
    static const OpenKey kRoot{std::string(kLocalMachineRoot), kAllAccess};
    return key == HKEY_LOCAL_MACHINE ? &kRoot : open_.Find(HandleValue(key));
}

LONG RegistryService::Open(HKEY parent, LPCSTR subKey, REGSAM access, PHKEY result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    const OpenKey* base = Find(parent);
    if (base == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    std::string path = base->path;
    if (subKey != nullptr && *subKey != '\0') {
        path += '\\';
        path += subKey;
    }
    std::optional<std::string> stored = file_.document().ResolveKeyPath(path);
    if (!stored) {
        stored = OverlayKeyPath(overlay_, path);
    }
    if (!stored) {
        return ERROR_FILE_NOT_FOUND;
    }
    *result = reinterpret_cast<HKEY>(open_.Add(OpenKey{*std::move(stored), access}));
    return ERROR_SUCCESS;
}

LONG RegistryService::Query(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                            LPDWORD size) const {
    if (reserved != nullptr || (data != nullptr && size == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    const OpenKey* open = Find(key);
    if (open == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if ((open->access & KEY_QUERY_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    const std::string_view valueName = name == nullptr ? "" : name;
    const RegistryValue* value = FindOverlayValue(overlay_, open->path, valueName);
    if (value == nullptr) {
        value = file_.document().FindValue(open->path, valueName);
    }
    if (value == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (type != nullptr) {
        *type = value->type;
    }
    const DWORD needed = static_cast<DWORD>(value->data.size());
    if (data != nullptr) {
        if (needed > *size) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        if (needed > 0) {
            std::memcpy(data, value->data.data(), needed);
        }
        // A text stored without its terminating zero still reads as a terminated string when
        // the buffer has room for one.
        const bool unterminated = value->type == REG_SZ && (needed == 0 || value->data.back() != 0);
        if (unterminated && needed < *size) {
            data[needed] = 0;
        }
    }
    if (size != nullptr) {
        *size = needed;
    }
    return ERROR_SUCCESS;
}

LONG RegistryService::Set(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size) {
    const OpenKey* open = Find(key);
    if (open == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if ((open->access & KEY_SET_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    const std::string_view valueName = name == nullptr ? "" : name;
    if ((data == nullptr && size != 0) || size > kMaxRegistryValueSize ||
        !IsStorableValueName(valueName)) {
        return ERROR_INVALID_PARAMETER;
    }
    if (FindOverlayValue(overlay_, open->path, valueName) != nullptr) {
        return ERROR_ACCESS_DENIED;
    }
    const std::vector<BYTE> bytes(data, data + size);
    const std::string path = open->path;
    const bool overlayKey = OverlayKeyPath(overlay_, path).has_value();
    return RegistryErrorOf(file_.Modify([&](RegistryDocument& document) {
        const std::optional<std::string> stored = document.ResolveKeyPath(path);
        if (!stored && !overlayKey) {
            return false;  // another program removed the key meanwhile
        }
        document.SetValue(stored.value_or(path), valueName, type, bytes);
        return true;
    }));
}

LONG RegistryService::Close(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE || open_.Remove(HandleValue(key))) {
        return ERROR_SUCCESS;
    }
    return ERROR_INVALID_HANDLE;
}

}  // namespace emulated
