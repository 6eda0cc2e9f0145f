#include "app/command_line.h"

#include <charconv>

namespace {

std::optional<UINT> SlotNumber(std::string_view text) {
    unsigned number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < 1 || number > 16) {
        return std::nullopt;
    }
    return number - 1;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string_view>& args) {
    CommandLine line;
    const auto fail = [](std::string error) { return ParsedCommandLine{std::nullopt, error}; };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        CommandLine::Mode mode = CommandLine::Mode::kPanel;
        if (arg == "--help" || arg == "-h") {
            mode = CommandLine::Mode::kHelp;
        } else if (arg == "--version") {
            mode = CommandLine::Mode::kVersion;
        } else if (arg == "--apply") {
            mode = CommandLine::Mode::kApply;
        } else if (arg == "--set-zero") {
            mode = CommandLine::Mode::kSetZero;
        } else if (arg == "--slot" || arg.starts_with("--slot=")) {
            const bool joined = arg != "--slot";
            if (!joined && i + 1 == args.size()) {
                return fail("--slot needs a joystick number, 1 to 16");
            }
            const std::string_view value = joined ? arg.substr(7) : args[++i];
            line.slot = SlotNumber(value);
            if (!line.slot) {
                return fail("--slot takes a joystick number, 1 to 16, not '" + std::string(value) +
                            "'");
            }
            continue;
        } else if (arg.starts_with("-")) {
            return fail("unknown option '" + std::string(arg) + "'");
        } else {
            return fail("unexpected argument '" + std::string(arg) + "'");
        }
        if (line.mode != CommandLine::Mode::kPanel && line.mode != mode) {
            return fail("choose one of --apply, --set-zero, --help and --version");
        }
        line.mode = mode;
    }
    if (line.slot && line.mode != CommandLine::Mode::kSetZero) {
        return fail("--slot goes with --set-zero");
    }
    return ParsedCommandLine{line, {}};
}

std::string UsageText() {
    return "Usage: zarven-controls [--set-zero [--slot N] | --apply | --help | --version]\n"
           "The control panel for the ZARVEN head-mounted display; without an option it opens\n"
           "the panel.\n"
           "\n"
           "  --set-zero    make the head tracker take the present attitude as straight ahead,\n"
           "                without a window: the first tracker, as the panel takes it\n"
           "  --slot N      with --set-zero: the tracker in joystick N (1 to 16)\n"
           "  --apply       give each joystick plugged in its calibration stored by the panel,\n"
           "                without a window (run at plug-in and at log-in by the desktop)\n"
           "  -h, --help    show this help\n"
           "  --version     show the version\n";
}
