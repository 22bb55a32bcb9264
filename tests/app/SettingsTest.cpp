#include "app/uSettings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

namespace kv {
namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device random;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = fs::temp_directory_path() / ("kv_settings_" + std::to_string(random()) + "_" + std::to_string(static_cast<long long>(now)));
        ASSERT_TRUE(fs::create_directories(folder_));
        name_ = (folder_ / "Korvanel.ini").string();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    void WriteAll(const std::string& bytes) const { std::ofstream(name_, std::ios::binary) << bytes; }
    std::string ReadAll() const
    {
        std::ifstream in(name_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static TKVCommonOptions Defaults()
    {
        TKVCommonOptions d;
        d.DefaultColor = 8240639;
        d.HandColorL = 11844998;
        d.HandColorR = 10458846;
        return d;
    }

    fs::path folder_;
    std::string name_;
};

TEST_F(SettingsFile, NoFileGivesTheDefaults)
{
    const TKVCommonOptions o = ReadCommonOptions(TIniFile(name_), Defaults());
    EXPECT_EQ(o.DefaultColor, 8240639);
    EXPECT_EQ(o.HandColorL, 11844998);
    EXPECT_EQ(o.HandColorR, 10458846);
    EXPECT_FALSE(o.AutoRepeat);
    EXPECT_FALSE(o.StayOnTop);
    EXPECT_EQ(o.LastFile, "Untitled.mid");
    EXPECT_EQ(o.ShowRoll, 0);
}

TEST_F(SettingsFile, EveryValueIsCheckedAndABadOneGivesItsDefault)
{
    struct Case {
        const char* line; // under [Common], or [PianoRoll] for ShowRoll
        TKVCommonOptions expected;
    };
    const auto with = [](auto change) {
        TKVCommonOptions o = Defaults();
        change(o);
        return o;
    };
    const std::vector<Case> cases = {
        {"DefaultColor=0x00FF00", with([](auto& o) { o.DefaultColor = 0xFF00; })},
        {"DefaultColor=16777215", with([](auto& o) { o.DefaultColor = 0xFFFFFF; })},
        {"DefaultColor=16777216", Defaults()},
        {"DefaultColor=-16777201", Defaults()}, // a system colour is no key colour
        {"HandColorL=red", Defaults()},
        {"HandColorR=0", with([](auto& o) { o.HandColorR = 0; })},
        {"AutoRepeat=7", with([](auto& o) { o.AutoRepeat = true; })},
        {"AutoRepeat=yes", Defaults()},
        {"StayOnTop=1", with([](auto& o) { o.StayOnTop = true; })},
        {"LastFile=", Defaults()},
        {"LastFile=C:\\Songs\\Etude.mid", with([](auto& o) { o.LastFile = "C:\\Songs\\Etude.mid"; })},
        {"[PianoRoll]\nShowRoll=1", with([](auto& o) { o.ShowRoll = 1; })},
        {"[PianoRoll]\nShowRoll=2", Defaults()},
        {"[PianoRoll]\nShowRoll=", Defaults()},
    };
    for (const Case& c : cases) {
        WriteAll(std::string("[Common]\n") + c.line + "\n");
        const TKVCommonOptions o = ReadCommonOptions(TIniFile(name_), Defaults());
        EXPECT_EQ(o.DefaultColor, c.expected.DefaultColor) << c.line;
        EXPECT_EQ(o.HandColorL, c.expected.HandColorL) << c.line;
        EXPECT_EQ(o.HandColorR, c.expected.HandColorR) << c.line;
        EXPECT_EQ(o.AutoRepeat, c.expected.AutoRepeat) << c.line;
        EXPECT_EQ(o.StayOnTop, c.expected.StayOnTop) << c.line;
        EXPECT_EQ(o.LastFile, c.expected.LastFile) << c.line;
        EXPECT_EQ(o.ShowRoll, c.expected.ShowRoll) << c.line;
    }
}

TEST_F(SettingsFile, OptionsAreWrittenInTheirOrder)
{
    WriteAll("[PianoRoll]\r\nShowRoll=1\r\n");
    TIniFile ini(name_);
    TKVCommonOptions o = Defaults();
    o.AutoRepeat = true;
    o.LastFile = "C:\\Songs\\Etude.mid";
    WriteCommonOptions(ini, o);
    ini.WriteString(SectionDevice, "Input", DeviceListText({true, false, true}));
    ini.WriteString(SectionDevice, "Output", DeviceListText({false, false}));
    EXPECT_EQ(ReadAll(), "[PianoRoll]\r\nShowRoll=1\r\n"
                         "[Common]\r\nDefaultColor=8240639\r\nHandColorL=11844998\r\nHandColorR=10458846\r\n"
                         "AutoRepeat=1\r\nStayOnTop=0\r\nLastFile=C:\\Songs\\Etude.mid\r\n"
                         "[Device]\r\nInput=[0][2]\r\nOutput=\r\n");
}

TEST(DeviceList, NamesOnlyWholeNumbers)
{
    struct Case {
        const char* list;
        std::vector<int> named; // among 0..15
    };
    const std::vector<Case> cases = {
        {"[0]", {0}},
        {"[1][3]", {1, 3}},
        {"[11]", {11}},
        {"[1][13]", {1, 13}},
        {"", {}},
        {"[]", {}},
        {"[x][2]", {2}},
        {"[ 2]", {}},
        {"[-1][+4][04]", {4}},
        {"[5", {}},
        {"garbage[7]garbage", {7}},
        {"[99999999999][6]", {6}},
    };
    for (const Case& c : cases) {
        std::vector<int> named;
        for (int i = 0; i < 16; ++i)
            if (DeviceListHas(c.list, i)) named.push_back(i);
        EXPECT_EQ(named, c.named) << c.list;
    }
    EXPECT_EQ(DeviceListText({}), "");
    EXPECT_EQ(DeviceListText({false, true, false, true}), "[1][3]");
}

TEST(ProgramFiles, LieBesideTheProgram)
{
    EXPECT_EQ(SettingsFileName("C:\\Program Files\\Korvanel\\Korvanel.exe"), "C:\\Program Files\\Korvanel\\Korvanel.ini");
    EXPECT_EQ(SettingsFileName("C:\\my.dir\\Korvanel"), "C:\\my.dir\\Korvanel.ini");
    EXPECT_EQ(FolderOf("C:\\Korvanel\\Korvanel.exe"), "C:\\Korvanel\\");
    EXPECT_EQ(FolderOf("Korvanel.exe"), "");
    EXPECT_EQ(InProgramFolder("C:\\Korvanel\\", "Untitled.mid"), "C:\\Korvanel\\Untitled.mid");
    EXPECT_EQ(InProgramFolder("C:\\Korvanel\\", "D:\\Songs\\a.mid"), "D:\\Songs\\a.mid");
    EXPECT_EQ(InProgramFolder("C:\\Korvanel\\", "\\\\server\\a.mid"), "\\\\server\\a.mid");
}

} // namespace
} // namespace kv
