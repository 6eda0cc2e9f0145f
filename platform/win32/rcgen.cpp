// zarven-rcgen: prints the program's resources as a resource script for windres. A host tool
// of the Windows build; it links the resource data that the other backends use.
#include "platform/win32/resource_script.h"

#include <iostream>

int main() {
    zarven::win32::WriteResourceScript(std::cout);
    return std::cout.good() ? 0 : 1;
}
