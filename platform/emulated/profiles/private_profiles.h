// WritePrivateProfileStringA over INI files: a bare file name lands in the prefix's windows/
// directory (matching an existing file's name in any case), an absolute path is used as it is.
#pragma once

#include "platform/emulated/files/ini_document.h"
#include "platform/emulated/files/stored_document.h"
#include "platform/win32api.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string_view>

namespace emulated {

class PrivateProfiles {
public:
    PrivateProfiles(std::filesystem::path windowsDirectory, std::filesystem::path lockFile)
        : windowsDirectory_(std::move(windowsDirectory)), lockFile_(std::move(lockFile)) {}

    // A null key deletes the section, a null value deletes the key; otherwise the entry is
    // set. FALSE when the file cannot be named, read or written, or the text cannot be stored.
    BOOL Write(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

private:
    std::optional<std::filesystem::path> Resolve(std::string_view fileName) const;

    std::filesystem::path windowsDirectory_;
    std::filesystem::path lockFile_;
    std::map<std::filesystem::path, StoredDocument<IniDocument>> files_;
};

}  // namespace emulated
