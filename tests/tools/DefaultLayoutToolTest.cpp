// The layout file the package ships, written by the kv-default-layout command: a whole layout
// file that loads back to the built-in table and plays what the built-in table plays.
#include "piano/kvPianoKeyLayout.h"
#include "piano/kvPianoKeyboardCore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

class DefaultLayoutTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        kv::KeyLayout = kv::BuiltInKeyLayout();
        folder_ = fs::temp_directory_path() / "kv_default_layout_tool";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override
    {
        kv::KeyLayout = kv::BuiltInKeyLayout();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    static int run(const std::string& arguments)
    {
        const int status = std::system(("\"" KV_DEFAULT_LAYOUT "\" " + arguments + " 2>/dev/null").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The note every virtual-key code plays on the piano.
    static std::vector<std::int32_t> notesPlayed(const kv::TKVPianoKeyboardCore& piano)
    {
        std::vector<std::int32_t> notes;
        for (int code = 0; code < 256; ++code) notes.push_back(piano.KeyToNote(static_cast<std::uint16_t>(code)));
        return notes;
    }

    fs::path folder_;
};

TEST_F(DefaultLayoutTool, WritesTheBuiltInTableAsAWholeLayoutFile)
{
    const fs::path file = folder_ / "Default.kbl";
    ASSERT_EQ(run("\"" + file.string() + "\""), 0);
    ASSERT_EQ(fs::file_size(file), 1792u);
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes, kv::KeyLayoutToBytes(kv::BuiltInKeyLayout()));

    const kv::TKeyLayout loaded = kv::KeyLayoutFromBytes(bytes.data(), bytes.size(), file.string());
    for (int row = 0; row < kv::KeyLayoutRows; ++row)
        EXPECT_EQ(std::memcmp(&loaded[row], &kv::BuiltInKeyLayout()[row], sizeof(kv::TKeyLayoutRec)), 0) << "row " << row;
}

// A piano that loads the shipped file plays, key for key and in both modes, what the built-in
// table plays.
TEST_F(DefaultLayoutTool, TheLoadedFilePlaysWhatTheBuiltInTablePlays)
{
    const fs::path file = folder_ / "Default.kbl";
    ASSERT_EQ(run("\"" + file.string() + "\""), 0);
    for (const bool fixed : {true, false}) {
        kv::KeyLayout = kv::BuiltInKeyLayout();
        kv::TKVPianoKeyboardCore builtIn;
        builtIn.SetPianoFixed(fixed);
        builtIn.BuildNotesMap();
        const std::vector<std::int32_t> expected = notesPlayed(builtIn);

        kv::TKVPianoKeyboardCore piano;
        piano.SetPianoFixed(fixed);
        piano.BuildNotesMap();
        piano.LoadFromFile(file.string());
        EXPECT_EQ(notesPlayed(piano), expected) << (fixed ? "fixed" : "free") << " mode";
        if (fixed) {
            EXPECT_EQ(piano.KeyToNote('1'), 60) << "the key 1 plays middle C";
        }
    }
}

TEST_F(DefaultLayoutTool, FailsWithoutAWritableFileOrWithoutItsArgument)
{
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run("\"" + (folder_ / "missing" / "Default.kbl").string() + "\""), 1);
    EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

} // namespace
