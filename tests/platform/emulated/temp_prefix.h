// A test that runs the emulated machine in a fresh temporary prefix with a clock it sets.
#pragma once

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace emulated_test {

class TempPrefixTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::filesystem::path& prefix() const { return prefix_; }
    std::filesystem::path File(const std::string& name) const { return prefix_ / name; }

    // Drops the machine in memory, so the next call reads the prefix again.
    void Reload() const;

    double now_ = 100.0;  // the machine's clock, in seconds

private:
    std::filesystem::path prefix_;
};

std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);

}  // namespace emulated_test
