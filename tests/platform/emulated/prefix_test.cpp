#include "platform/emulated/emulated_machine.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace emulated {
namespace {

// Sets or unsets an environment variable for the test's lifetime.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value == nullptr ? ::unsetenv(name) : ::setenv(name, value, 1);
    }
    ~ScopedEnvironment() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

struct PrefixCase {
    const char* name;
    const char* xdgDataHome;
    const char* home;
    std::filesystem::path prefix;
};

class DefaultPrefixes : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(DefaultPrefixes, FollowXdgThenHome) {
    const ScopedEnvironment xdg("XDG_DATA_HOME", GetParam().xdgDataHome);
    const ScopedEnvironment home("HOME", GetParam().home);
    EXPECT_EQ(DefaultPrefix(), GetParam().prefix);
}

INSTANTIATE_TEST_SUITE_P(
    Environment, DefaultPrefixes,
    ::testing::Values(
        PrefixCase{"Xdg", "/data", "/home/u", "/data/zarven-controls"},
        PrefixCase{"XdgUnset", nullptr, "/home/u", "/home/u/.local/share/zarven-controls"},
        PrefixCase{"XdgEmpty", "", "/home/u", "/home/u/.local/share/zarven-controls"},
        PrefixCase{"XdgRelative", "data", "/home/u", "/home/u/.local/share/zarven-controls"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Prefix, UsePrefixMakesItAbsolute) {
    UsePrefix("relative/prefix");
    EXPECT_EQ(CurrentPrefix(), std::filesystem::current_path() / "relative/prefix");
    UsePrefix("/somewhere/else");
    EXPECT_EQ(CurrentPrefix(), "/somewhere/else");
}

}  // namespace
}  // namespace emulated
