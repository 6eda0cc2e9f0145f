// The parts of the framework that every windowing backend shares: the application object's
// registration, the dialogs' default processing of the events no backend needs to see, and
// how the application is named after its executable.
#pragma once

#include "platform/framework.h"

#include <string>
#include <string_view>

// "C:\dir\prog.exe" or "/usr/bin/prog" -> "prog": the file name without directory (either
// slash) and extension. A leading dot starts a name, not an extension.
std::string AfxExecutableName(std::string_view path);

// Names the application after its executable: m_exeName, and m_appName unless one was given.
void AfxNameApplication(CWinApp& app, std::string_view executablePath);
