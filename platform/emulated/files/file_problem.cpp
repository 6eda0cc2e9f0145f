#include "platform/emulated/files/file_problem.h"

#include <cstdio>
#include <cstring>

namespace emulated {

void ReportFileProblem(const std::filesystem::path& path, const ParseError* error, int errnoValue) {
    std::string line = "zarven-controls: " + path.string();
    if (error != nullptr) {
        if (error->line != 0) {
            line += ":" + std::to_string(error->line);
        }
        line += ": " + error->message;
    } else {
        line += ": ";
        line += std::strerror(errnoValue);
    }
    line += '\n';
    std::fputs(line.c_str(), stderr);
}

}  // namespace emulated
