#pragma once
// Shared by the piano tests: a temporary folder and a guard that gives the program-wide key
// layout back after a test changed it.
#include "piano/kvPianoKeyLayout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kv {

class KeyLayoutTest : public ::testing::Test {
protected:
    KeyLayoutTest()
    {
        KeyLayout = BuiltInKeyLayout();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() / ("kv_piano_" + std::string(info->name()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    ~KeyLayoutTest() override
    {
        KeyLayout = BuiltInKeyLayout();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
    static std::vector<std::uint8_t> ReadAll(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::filesystem::path folder_;
};

} // namespace kv
