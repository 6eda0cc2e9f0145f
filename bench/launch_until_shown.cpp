// Starts a program, waits until it maps a top-level window with the given title, and reports
// the time from the start to that moment and the program's peak resident memory one second
// later; then ends the program.
//   launch_until_shown TITLE PROGRAM [ARGS...]
// Output: "<milliseconds> <peak RSS in KiB>".
#include <X11/Xlib.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

bool HasTitle(Display* display, Window window, const char* title) {
    char* name = nullptr;
    const bool match =
        XFetchName(display, window, &name) != 0 && name != nullptr && std::strcmp(name, title) == 0;
    if (name != nullptr) {
        XFree(name);
    }
    return match;
}

long PeakRssKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: launch_until_shown TITLE PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "launch_until_shown: no display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && HasTitle(display, event.xmap.window, argv[1])) {
            break;
        }
    }
    const auto shown = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long peak = PeakRssKiB(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    std::printf("%.1f %ld\n", std::chrono::duration<double, std::milli>(shown - start).count(),
                peak);
    XCloseDisplay(display);
    return 0;
}
