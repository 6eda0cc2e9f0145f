// Windows entry point: the framework's start-up runs the application object.
#include "platform/framework.h"

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return AfxWinMain(__argc, __argv);
}
