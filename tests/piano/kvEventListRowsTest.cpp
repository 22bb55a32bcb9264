#include "piano/kvEventListRows.h"

#include "base/Format.h"
#include "base/ResStr.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kv {
namespace {

std::unique_ptr<TKVMidiEvent> MakeEvent(int status, int data1, int data2, std::string letter = {})
{
    auto e = std::make_unique<TKVMidiEvent>();
    e->SetEvent(static_cast<std::uint8_t>(status));
    e->SetData1(static_cast<std::uint8_t>(data1));
    e->SetData2(static_cast<std::uint8_t>(data2));
    e->SetLetter(letter);
    return e;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

TEST(EventListRows, EveryKindHasItsDescriptionAndColour)
{
    struct Case {
        int status, data1, data2;
        std::string letter;
        std::string description;
        TColor color;
    };
    const Case cases[] = {
        {0x80, 60, 64, "", "Note Off: C5", 0x808080},
        {0x93, 61, 0, "", "Note On: C#5", 0x808080}, // velocity 0: a note-off by its kind, a note-on by its status
        {0x92, 60, 100, "", "Note On: C5", 0x000000},
        {0xA0, 60, 30, "", "Key After Touch", 0x000080},
        {0xB0, 7, 90, "", "Volume: 90", 0x0000FF},
        {0xB0, 10, 90, "", "Control Change", 0x0000FF},
        {0xC5, 12, 0, "", "Program Change", 0xFF0000},
        {0xD0, 40, 0, "", "Chan After Touch", 0x000080},
        {0xE0, 0, 64, "", "Pitch Bend", 0x000080},
        {0x45, 0, 0, "", "Unkown Event: 69", 0x000080},
        {0xF0, 0, 0, "", "Unkown Event: 240", 0x000080},
        {0xFE, 0, 0, "", "Unkown Event: 254", 0x000080},
        {0xFF, 0x51, 0, Bytes({0x07, 0xA1, 0x20}), "Speed: 120", 0x008000},
        {0xFF, 0x51, 0, Bytes({0x0F, 0x42, 0x40}), "Speed: 60", 0x008000},
        {0xFF, 0x51, 0, Bytes({0, 0, 0}), "Speed: -", 0x008000}, // no beats per minute in a tempo of 0
        {0xFF, 0x58, 0, Bytes({6, 3, 24, 8}), "Meter: 6/8", 0x008000},
        {0xFF, 0x59, 0, Bytes({0xFE, 0}), "Key: -2/0", 0x008000},
        {0xFF, 0x01, 0, "Some text", "Some text", 0x008000},
        {0xFF, 0x03, 0, "Piano", "Piano", 0x008000},
        {0xFF, 0x03, 0, "\xDC" "bung", "\xC3\x9C" "bung", 0x008000}, // the code page (Windows-1252 here) shown as UTF-8
        {0xFF, 0x05, 0, "la", "la", 0x008000},
        {0xFF, 0x2F, 0, "", "Track End", 0x008000},
        {0xFF, 0x06, 0, "marker", "Unkown Data1: 6", 0x008000},
        {0xFF, 0x7F, 0, "", "Unkown Data1: 127", 0x008000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        const auto owned = MakeEvent(c.status, c.data1, c.data2, c.letter);
        const TKVMidiEvent& e = *owned;
        EXPECT_EQ(EventDescription(e), c.description);
        EXPECT_EQ(EventRowColor(e), c.color);
        EXPECT_EQ(EventRowTexts(e, 480)[8], c.description);
    }
}

// The descriptions are run-time texts: the program's translation reaches them.
TEST(EventListRows, DescriptionsFollowTheTranslation)
{
    SetResStringLoader([](const std::string& Text) {
        if (Text == "Note On: %s") return std::string("Note an: %s");
        if (Text == "Track End") return std::string("Spurende");
        return Text;
    });
    EXPECT_EQ(EventDescription(*MakeEvent(0x90, 60, 100, "")), "Note an: C5");
    EXPECT_EQ(EventDescription(*MakeEvent(0xFF, 0x2F, 0, "")), "Spurende");
    EXPECT_EQ(EventDescription(*MakeEvent(0xC0, 1, 0, "")), "Program Change");
    SetResStringLoader(nullptr);
}

TEST(EventListRows, ColumnsOfANoteATempoAndAResolutionOfZero)
{
    const auto notePtr = MakeEvent(0x92, 60, 100);
    TKVMidiEvent& note = *notePtr;
    note.SetTrack(0);
    note.SetStartTime(960);
    note.SetDeltaTime(120);
    EXPECT_EQ(EventRowTexts(note, 480),
              (std::array<std::string, 9>{"2.00", "960", "120", "1", "3", "0x92", "0x3C", "0x64", "Note On: C5"}));

    const auto tempoPtr = MakeEvent(0xFF, 0x51, 5, Bytes({0x07, 0xA1, 0x20}));
    TKVMidiEvent& tempo = *tempoPtr;
    tempo.SetTrack(2);
    tempo.SetStartTime(100);
    EXPECT_EQ(EventRowTexts(tempo, 480),
              (std::array<std::string, 9>{"0.21", "100", "0", "3", "-", "0xFF", "0x51", "0x 5", "Speed: 120"}));

    // The locale's decimal separator, and no position without a resolution.
    const char separator = FormatSettings().DecimalSeparator;
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(EventRowTexts(note, 480)[0], "2,00");
    FormatSettings().DecimalSeparator = separator;
    EXPECT_EQ(EventRowTexts(note, 0)[0], "-");
}

} // namespace
} // namespace kv
