// The one line the machine prints on standard error when it cannot use one of its files.
#pragma once

#include "platform/emulated/files/parse_result.h"

#include <filesystem>

namespace emulated {

// "zarven-controls: <file>:<line>: <message>", "<file>: <message>" for an error about the
// whole file, or "<file>: <errno text>" when there is no parse error.
void ReportFileProblem(const std::filesystem::path& path, const ParseError* error, int errnoValue);

}  // namespace emulated
