#include "installer/sysinfo/DirectXLadder.h"
#include "installer/sysinfo/DisplayModes.h"
#include "installer/sysinfo/DotNetFolders.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Recorded answers of a system; records what was asked.
class RecordedDirectX : public DirectXProbe {
public:
    std::map<std::string, bool> answers;
    std::map<std::string, FileVersion> files;
    std::vector<std::string> asked;

    bool directDraw() override { return answer("ddraw"); }
    bool directDraw2() override { return answer("dd2"); }
    bool directInput() override { return answer("dinput"); }
    bool directInput2() override { return answer("di2"); }
    bool directInput8() override { return answer("dinput8"); }
    bool directDraw4() override { return answer("dd4"); }
    bool directMusicLibrary() override { return answer("dmusic"); }
    bool directDraw7() override { return answer("dd7"); }
    bool directMusicObject() override { return answer("dmusicObject"); }
    std::optional<FileVersion> systemFileVersion(const char* name) override
    {
        asked.push_back(name);
        const auto it = files.find(name);
        return it == files.end() ? std::nullopt : std::optional<FileVersion>(it->second);
    }

private:
    bool answer(const std::string& name)
    {
        asked.push_back(name);
        const auto it = answers.find(name);
        return it != answers.end() && it->second;
    }
};

FileVersion v(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    return FileVersion{(a << 16) | b, (c << 16) | d};
}

std::string dx(std::uint32_t value)
{
    return std::to_string(value & 0xFFFF) + "." + std::to_string(value >> 16);
}

TEST(DirectXLadder, RungsOverRecordedAnswers)
{
    const std::map<std::string, bool> all{{"ddraw", true}, {"dd2", true},   {"dinput", true}, {"di2", true},
                                          {"dd4", true},   {"dmusic", true}, {"dd7", true},    {"dmusicObject", true}};
    struct Case {
        const char* missing;
        const char* version;
    };
    const Case cases[] = {{"ddraw", "0.0"}, {"dd2", "1.0"},    {"dinput", "2.0"}, {"di2", "3.0"},
                          {"dd4", "5.0"},   {"dmusic", "6.0"}, {"dd7", "6.1"},    {nullptr, "7.0"}};
    for (const Case& c : cases) {
        RecordedDirectX probe;
        probe.answers = all;
        if (c.missing)
            probe.answers[c.missing] = false;
        EXPECT_EQ(dx(directXVersion(probe)), c.version) << (c.missing ? c.missing : "none missing");
    }
    RecordedDirectX noMusicObject;
    noMusicObject.answers = all;
    noMusicObject.answers["dd7"] = false;
    noMusicObject.answers["dmusicObject"] = false;
    EXPECT_EQ(dx(directXVersion(noMusicObject)), "6.0");
    // Nothing further is asked once a rung fails.
    RecordedDirectX stops;
    stops.answers = all;
    stops.answers["dinput"] = false;
    directXVersion(stops);
    EXPECT_EQ(stops.asked, (std::vector<std::string>{"ddraw", "dd2", "dinput"}));
}

TEST(DirectXLadder, RuntimeFilesFromEightOn)
{
    struct Case {
        std::map<std::string, FileVersion> files;
        const char* version;
    };
    const Case cases[] = {
        {{}, "8.0"},
        {{{"d3d8.dll", v(4, 8, 1, 881)}}, "8.1"},
        {{{"d3d8.dll", v(4, 8, 1, 880)}}, "8.0"},
        {{{"d3d8.dll", v(5, 1, 2600, 881)}}, "8.1"},
        {{{"d3d8.dll", v(5, 1, 2600, 880)}}, "8.0"},
        {{{"d3d8.dll", v(6, 0, 0, 0)}}, "8.0"},
        {{{"dpnet.dll", v(4, 9, 0, 134)}}, "8.2"},
        {{{"dpnet.dll", v(4, 9, 0, 134)}, {"d3d9.dll", v(4, 9, 0, 904)}}, "9.0"},
        {{{"dpnet.dll", v(5, 2, 3677, 134)}}, "8.2"},
        {{{"dpnet.dll", v(5, 2, 3677, 133)}, {"d3d8.dll", v(5, 1, 2600, 881)}}, "8.1"},
        {{{"d3d9.dll", v(5, 3, 2600, 5512)}}, "9.0"},
        {{{"d3d9.dll", v(10, 0, 19041, 1)}, {"d3d8.dll", v(10, 0, 19041, 1)}}, "9.0"},
    };
    for (const Case& c : cases) {
        RecordedDirectX probe;
        probe.answers = {{"ddraw", true}, {"dd2", true}, {"dinput", true}, {"di2", true}, {"dinput8", true}};
        probe.files = c.files;
        EXPECT_EQ(dx(directXVersion(probe)), c.version);
    }
}

TEST(DotNetFolders, LadderOverFrameworkFolders)
{
    struct Case {
        std::vector<FrameworkFolder> folders;
        std::int32_t code;
        const char* folder;
    };
    const Case cases[] = {
        {{}, -1, ""},
        {{{ByteString("v1.0.3705"), true}}, 0, "v1.0.3705"},
        {{{ByteString("v1.1.4322"), true}, {ByteString("v1.0.3705"), true}}, 1, "v1.1.4322"},
        {{{ByteString("v1.0.3705"), true}, {ByteString("v1.1.4322"), true}}, 1, "v1.1.4322"},
        {{{ByteString("v2.0.50727"), true}, {ByteString("v1.1.4322"), true}}, 2, "v2.0.50727"},
        {{{ByteString("v1.1.4322"), true}, {ByteString("v2.0.50727"), false}}, 1, "v1.1.4322"},
        {{{ByteString("v1.1"), false}, {ByteString("v2"), true}, {ByteString("abc"), true}}, -1, ""},
        // Later versions are "2.0 or later" too, and the newest folder is the one named.
        {{{ByteString("v1.0.3705"), true}, {ByteString("v4.0.30319"), true}}, 2, "v4.0.30319"},
        {{{ByteString("v4.0.30319"), true}, {ByteString("v2.0.50727"), true}, {ByteString("v3.5"), true}}, 2, "v4.0.30319"},
        {{{ByteString("v2.0.50727"), true}, {ByteString("v3.5"), true}, {ByteString("v1.1.4322"), true}}, 2, "v3.5"},
    };
    for (const Case& c : cases) {
        const DotNetFound found = dotNetFromFolders(c.folders);
        EXPECT_EQ(found.code, c.code);
        ByteString name(found.folderName);
        EXPECT_STREQ(name.cStr(), c.folder);
    }
    EXPECT_EQ(dotNetVariableValue(-1), 0);
    EXPECT_EQ(dotNetVariableValue(1), 10100);
}

TEST(DisplayModes, LargestSizeDepthAndRequirement)
{
    DisplayModeSummary summary(1024, 768, 32);
    for (const DisplayMode& m : std::vector<DisplayMode>{{640, 480, 8}, {800, 600, 16}, {1024, 768, 16}, {1024, 600, 32}})
        summary.add(m);
    EXPECT_EQ(summary.largest().width, 1024u);
    EXPECT_EQ(summary.largest().height, 768u);
    // Raised by the later mode of the same width.
    EXPECT_EQ(summary.largest().bits, 32u);
    EXPECT_FALSE(summary.requirementMet());
    summary.add({1024, 768, 32});
    EXPECT_TRUE(summary.requirementMet());
    // A wider mode replaces width and height together.
    summary.add({1600, 600, 8});
    EXPECT_EQ(summary.largest().width, 1600u);
    EXPECT_EQ(summary.largest().height, 600u);
    EXPECT_EQ(summary.largest().bits, 8u);
}

} // namespace
