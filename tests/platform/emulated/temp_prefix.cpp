#include "temp_prefix.h"

#include "platform/emulated/emulated_machine.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace emulated_test {

void TempPrefixTest::SetUp() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zarven-emulated-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    prefix_ = std::filesystem::path(pattern) / "prefix";
    emulated::UsePrefix(prefix_);
    emulated::SetClock([this] { return now_; });
}

void TempPrefixTest::TearDown() {
    emulated::SetClock(nullptr);
    emulated::UsePrefix(prefix_ / "gone");
    std::error_code ignored;
    std::filesystem::remove_all(prefix_.parent_path(), ignored);
}

void TempPrefixTest::Reload() const {
    emulated::UsePrefix(prefix_);
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace emulated_test
