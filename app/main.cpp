// Linux entry point: the command line, then either a windowless mode or the framework's
// start-up running the application object.
#include "app/command_line.h"
#include "app/windowless.h"
#include "platform/framework.h"

#include <cstdio>

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.line) {
        std::fprintf(stderr, "zarven-controls: %s (see zarven-controls --help)\n",
                     parsed.error.c_str());
        return 2;
    }
    switch (parsed.line->mode) {
        case CommandLine::Mode::kHelp:
            std::fputs(UsageText().c_str(), stdout);
            return 0;
        case CommandLine::Mode::kVersion:
            std::puts("zarven-controls " ZARVEN_VERSION);
            return 0;
        case CommandLine::Mode::kApply:
            return RunApply();
        case CommandLine::Mode::kSetZero:
            return RunSetZero(parsed.line->slot);
        case CommandLine::Mode::kPanel:
            break;
    }
    return AfxWinMain(argc > 0 ? 1 : 0, argv);
}
