#include "platform/emulated/profiles/private_profiles.h"

#include "platform/emulated/files/ascii_text.h"
#include "platform/emulated/files/ini_text.h"

namespace emulated {

std::optional<std::filesystem::path> PrivateProfiles::Resolve(std::string_view fileName) const {
    if (fileName.starts_with('/')) {
        return std::filesystem::path(fileName);
    }
    const bool bare = !fileName.empty() && fileName != "." && fileName != ".." &&
                      fileName.find_first_of("/\\") == std::string_view::npos;
    if (!bare || windowsDirectory_.empty()) {
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::create_directories(windowsDirectory_, error);
    if (error) {
        return std::nullopt;
    }
    std::filesystem::directory_iterator entry(windowsDirectory_, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (EqualsIgnoreCase(entry->path().filename().string(), fileName)) {
            return entry->path();
        }
    }
    return windowsDirectory_ / fileName;
}

BOOL PrivateProfiles::Write(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    if (section == nullptr || fileName == nullptr) {
        return FALSE;
    }
    if (key != nullptr && value != nullptr && !IniDocument::CanStore(section, key, value)) {
        return FALSE;
    }
    const std::optional<std::filesystem::path> path = Resolve(fileName);
    if (!path) {
        return FALSE;
    }
    auto [file, added] =
        files_.try_emplace(*path, *path, lockFile_, kIniLimits, ParseIniText, FormatIniText);
    if (added) {
        file->second.Load();
    }
    const WriteResult result = file->second.Modify([&](IniDocument& document) {
        if (key == nullptr) {
            return document.RemoveSection(section);
        }
        return value == nullptr ? document.RemoveKey(section, key)
                                : document.Set(section, key, value);
    });
    return result.status == WriteStatus::kStored || result.status == WriteStatus::kDeclined ? TRUE
                                                                                            : FALSE;
}

}  // namespace emulated
