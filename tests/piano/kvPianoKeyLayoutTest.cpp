#include "piano/kvPianoKeyLayout.h"

#include "piano/kvPianoKeyboardCore.h"
#include "piano/kvPianoTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kv {
namespace {

using PianoKeyLayout = KeyLayoutTest;

TEST_F(PianoKeyLayout, BuiltInTableRowsAndNames)
{
    const TKeyLayout& table = BuiltInKeyLayout();
    struct Row { int index; const char* name; std::int32_t code, note; };
    const Row rows[] = {{0, "`", 192, 35},   {1, "1", 49, 36},        {13, "\\", 220, 57}, {36, "'", 222, 29},
                        {37, "z", 90, 0},     {47, "Ins", 45, 53},     {49, "Up", 33, 57},  {53, "Up", 38, 17},
                        {57, "Num Lock", 144, 41}, {71, "Num Enter", 13, 23}, {73, "Num .", 110, 21}};
    for (const Row& r : rows) {
        EXPECT_EQ(KeyNameOf(table[r.index]), r.name) << r.index;
        EXPECT_EQ(table[r.index].KeyCode, r.code) << r.index;
        EXPECT_EQ(table[r.index].KeyNote, r.note) << r.index;
    }
    // Name bytes after the name are zero.
    for (const TKeyLayoutRec& row : table)
        for (int i = 1 + row.KeyName[0]; i < 16; ++i) EXPECT_EQ(row.KeyName[i], 0);
}

TEST_F(PianoKeyLayout, SavedBuiltInLayoutHasTheGoldenBytes)
{
    TKVPianoKeyboardCore piano;
    const std::string path = PathOf("builtin.kbl");
    piano.SaveToFile(path);
    const std::vector<std::uint8_t> bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 1792u);
    const std::uint8_t head[] = {0x4B, 0x42, 0x4C, 0x00, 0x32, 0x2E, 0x31, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0x01, '`',  0,    0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0,
                                 0xC0, 0x00, 0x00, 0x00, 0x23, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(bytes.data(), head, sizeof(head)), 0);
    // The last row: "Num ." 110, 21.
    const std::uint8_t tail[] = {5, 'N', 'u', 'm', ' ', '.', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 110, 0, 0, 0, 21, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes.data() + 1792 - 24, tail, sizeof(tail)), 0);
}

TEST_F(PianoKeyLayout, LoadingASavedFileRestoresEveryRowByteForByte)
{
    TKVPianoKeyboardCore piano;
    KeyLayout[5] = MakeKeyLayoutRec("Pause", 19, 70);
    piano.SetKeyNote(47, -1);
    const std::string path = PathOf("changed.kbl");
    piano.SaveToFile(path);
    const TKeyLayout saved = KeyLayout;
    KeyLayout = BuiltInKeyLayout();

    piano.LoadFromFile(path);
    EXPECT_EQ(std::memcmp(KeyLayout.data(), saved.data(), sizeof(TKeyLayout)), 0);
    EXPECT_EQ(piano.KeyToNote(19), 70);
    EXPECT_EQ(piano.KeyToNote(53), -1); // "5" is no longer in the layout
    EXPECT_EQ(piano.KeyToNote(45), -1);
}

TEST_F(PianoKeyLayout, MalformedFilesAreRejectedAndChangeNothing)
{
    const std::vector<std::uint8_t> good = KeyLayoutToBytes(BuiltInKeyLayout());
    struct Case { const char* name; std::vector<std::uint8_t> bytes; const char* reason; };
    std::vector<Case> cases;
    cases.push_back({"short", std::vector<std::uint8_t>(good.begin(), good.end() - 1), "1791 bytes"});
    cases.push_back({"empty", {}, "0 bytes"});
    auto nameTooLong = good;
    nameTooLong[16 + 3 * 24] = 16;
    cases.push_back({"name", nameTooLong, "row 3 has a name of 16 characters"});
    auto codeTooBig = good;
    codeTooBig[16 + 70 * 24 + 17] = 1; // 99 + 256
    cases.push_back({"code", codeTooBig, "row 70 has the key code 355"});
    auto codeNegative = good;
    std::memset(&codeNegative[16 + 2 * 24 + 16], 0xFF, 4);
    cases.push_back({"negative", codeNegative, "row 2 has the key code -1"});

    for (const Case& c : cases) {
        TKVPianoKeyboardCore piano;
        const std::string path = PathOf(std::string(c.name) + ".kbl");
        WriteAll(path, c.bytes);
        try {
            piano.LoadFromFile(path);
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const EKeyLayoutError& error) {
            EXPECT_NE(error.Message().find(c.reason), std::string::npos) << error.Message();
            EXPECT_NE(error.Message().find(path), std::string::npos) << error.Message();
        }
        EXPECT_EQ(std::memcmp(KeyLayout.data(), BuiltInKeyLayout().data(), sizeof(TKeyLayout)), 0) << c.name;
        EXPECT_EQ(piano.KeyToNote(49), 36) << c.name;
    }
}

TEST_F(PianoKeyLayout, MissingFileChangesNothingAndRaisesNothing)
{
    TKVPianoKeyboardCore piano;
    EXPECT_NO_THROW(piano.LoadFromFile(PathOf("none.kbl")));
    EXPECT_EQ(piano.KeyToNote(49), 36);
}

TEST_F(PianoKeyLayout, KeyCodesAboveTheMapAreKeptButPlayNothing)
{
    // The apostrophe row (code 222) survives a round trip; the map covers codes 0..221.
    const std::vector<std::uint8_t> bytes = KeyLayoutToBytes(BuiltInKeyLayout());
    const TKeyLayout back = KeyLayoutFromBytes(bytes.data(), bytes.size(), "x.kbl");
    EXPECT_EQ(back[36].KeyCode, 222);
    TKVPianoKeyboardCore piano;
    EXPECT_EQ(piano.KeyToNote(222), -1);
}

} // namespace
} // namespace kv
