#include "app/SettingsProfile.h"

#include "platform/win32api.h"

#include <cstdio>

namespace {

constexpr char kSection[] = "ZARVEN";

void WriteInt(const std::string& file, const char* key, long value) {
    char text[16];
    std::snprintf(text, sizeof text, "%ld", value);
    WritePrivateProfileStringA(kSection, key, text, file.c_str());
}

}  // namespace

void WriteSettingsProfile(const std::string& exeName, const PanelState& state) {
    const std::string file = exeName + ".INI";
    WriteInt(file, "StereoMode", state.stereoOn);
    WriteInt(file, "PowerSaver", state.powerSaverOn);
    WriteInt(file, "YawSensitivity", state.yawPosition);
    WriteInt(file, "PitchSensitivity", state.pitchPosition);
    WriteInt(file, "RollSensitivity", state.rollPosition);
}
