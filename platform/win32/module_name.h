// The program's name from its module's path, as the framework names the application.
#pragma once

#include <string>
#include <string_view>

namespace zarven::win32 {

// "C:\\Games\\zarven-controls.exe" -> "zarven-controls": no directory (either slash), and no
// extension (the text from the last dot of the file name on).
std::string ExeNameFromPath(std::string_view path);

}  // namespace zarven::win32
