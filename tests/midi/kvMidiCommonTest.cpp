// Conversions of the MIDI vocabulary: meta data to and from text, times, ticks, notes, hex forms.
#include "midi/kvMidiCommon.h"

#include "base/Exceptions.h"
#include "midi/kvMidiTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace kv {
namespace {

using test::Bytes;

TEST(MidiCommonTest, SwapLongReversesTheFourBytes)
{
    EXPECT_EQ(SwapLong(0x12345678u), 0x78563412u);
    EXPECT_EQ(SwapLong(0x000000FFu), 0xFF000000u);
}

TEST(MidiCommonTest, TempoAndBpm)
{
    struct Case {
        int bpm;
        std::string tempo;
    };
    const Case cases[] = {
        {120, Bytes({0x07, 0xA1, 0x20})},
        {7, Bytes({0x82, 0xCA, 0x24})},       // 60000000 div 7 = 8571428
        {60000000, Bytes({0x00, 0x00, 0x01})},
        {1, Bytes({0x93, 0x87, 0x00})},       // 60000000 = $03938700: only the low three bytes are kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bpm);
        EXPECT_EQ(BpmToTempo(c.bpm), c.tempo);
    }
    EXPECT_EQ(TempoToBpm(Bytes({0x07, 0xA1, 0x20})), 120);
    EXPECT_EQ(TempoToBpm(Bytes({0x82, 0xCA, 0x24})), 7);
    EXPECT_EQ(TempoToBpm(Bytes({0x07, 0xA1, 0x20, 0x55})), 120) << "only three bytes count";
    EXPECT_EQ(TempoToBpm(Bytes({0x0F, 0x42, 0x40})), 60) << "1000000 microseconds per quarter";
}

TEST(MidiCommonTest, TempoOfZeroAndShortTempoData)
{
    EXPECT_THROW(TempoToBpm(Bytes({0, 0, 0})), EDivByZero);
    EXPECT_THROW(BpmToTempo(0), EDivByZero);
    EXPECT_EQ(TempoToBpm(""), 120);
    EXPECT_EQ(TempoToBpm(Bytes({0x07, 0xA1})), 120);
}

TEST(MidiCommonTest, TimeSignatureToText)
{
    struct Case {
        std::string data;
        std::string text;
    };
    const Case cases[] = {
        {Bytes({3, 4, 0, 8}), "3/16"},
        {Bytes({4, 2, 24, 8}), "4/4"},
        {Bytes({6, 3}), "6/8"},
        {Bytes({4, 0}), "4/0"},                // 2 shl 31 is 0 in 32 bits
        {Bytes({4, 33}), "4/2"},               // the exponent counts modulo 32
        {Bytes({4, 31}), "4/2147483648"},
        {Bytes({0xFF, 1}), "255/2"},
        {Bytes({4}), ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TimeSignatureToText(c.data), c.text);
    }
}

TEST(MidiCommonTest, TextToTimeSignature)
{
    struct Case {
        std::string text;
        std::string data;
    };
    const Case cases[] = {
        {"3/16", Bytes({3, 4, 0, 8})},
        {"4/4", Bytes({4, 2, 0, 8})},
        {"6/8", Bytes({6, 3, 0, 8})},
        {"2/2", Bytes({2, 1, 0, 8})},
        {"5/32", Bytes({5, 5, 0, 8})},
        {"3/12", Bytes({3, 3, 0, 8})},   // not a power of two: the largest power below it (8)
        {"4/1", Bytes({4, 0, 0, 8})},
        {"4/0", Bytes({4, 0, 0, 8})},
        {"4/-8", Bytes({4, 0, 0, 8})},
        {"8", Bytes({0, 3, 0, 8})},      // without "/" the whole text is the denominator
        {"x/4", Bytes({0, 2, 0, 8})},
        {"7/y", Bytes({7, 0, 0, 8})},
        {"300/4", Bytes({44, 2, 0, 8})}, // low 8 bits of the numerator
        {"", Bytes({0, 0, 0, 8})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TextToTimeSignature(c.text), c.data);
    }
    EXPECT_EQ(TimeSignatureToText(TextToTimeSignature("3/16")), "3/16");
}

TEST(MidiCommonTest, KeySignatureToAndFromText)
{
    struct Case {
        std::string data;
        std::string text;
    };
    const Case both[] = {
        {Bytes({0xFE, 0x00}), "-2/0"},
        {Bytes({0xFD, 0x01}), "-3/1"},
        {Bytes({0x04, 0x00}), "4/0"},
        {Bytes({0x80, 0x7F}), "-128/127"},
    };
    for (const Case& c : both) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(KeySignatureToText(c.data), c.text);
        EXPECT_EQ(TextToKeySignature(c.text), c.data);
    }
    EXPECT_EQ(KeySignatureToText(Bytes({5})), "0/0");
    EXPECT_EQ(KeySignatureToText(""), "0/0");
    EXPECT_EQ(TextToKeySignature("x/y"), Bytes({0, 0}));
    EXPECT_EQ(TextToKeySignature("1"), Bytes({0, 1})) << "without \"/\" the text is the mode";
}

TEST(MidiCommonTest, MsToTimeText)
{
    struct Case {
        std::int32_t ms;
        std::string text;
    };
    const Case cases[] = {
        {0, "0:00:00.000"},
        {59999, "0:00:59.999"},
        {3723004, "1:02:03.004"},
        {360000000, "100:00:00.000"},
        {INT_MAX, "596:31:23.647"},
        {-1500, "-0:00:01.500"},        // a negative time shows its magnitude after "-"
        {INT_MIN, "-596:31:23.648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(MsToTimeText(c.ms), c.text);
    }
}

TEST(MidiCommonTest, IntToZeroStr)
{
    EXPECT_EQ(IntToZeroStr(4, 3), "004");
    EXPECT_EQ(IntToZeroStr(1234, 2), "1234");
    EXPECT_EQ(IntToZeroStr(0, 0), "0");
    EXPECT_EQ(IntToZeroStr(-5, 3), "-05");
}

TEST(MidiCommonTest, BeatsToTicksRoundsHalvesToEven)
{
    struct Case {
        std::int32_t ppq;
        double beats;
        std::int32_t ticks;
    };
    const Case cases[] = {
        {480, 1.0, 480}, {480, 0.25, 120}, {1, 0.5, 0}, {1, 1.5, 2}, {1, 2.5, 2},
        {3, 0.5, 2}, {5, 0.5, 2}, {1, -0.5, 0}, {1, -1.5, -2}, {96, 0.3, 29},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ppq << " x " << c.beats);
        EXPECT_EQ(BeatsToTicks(c.ppq, c.beats), c.ticks);
    }
}

TEST(MidiCommonTest, TicksToBeats)
{
    EXPECT_DOUBLE_EQ(TicksToBeats(480, 240), 0.5);
    EXPECT_DOUBLE_EQ(TicksToBeats(1, -3), -3.0);
    for (std::int32_t ppq : {0, -1, INT_MIN}) {
        try {
            TicksToBeats(ppq, 10);
            ADD_FAILURE() << "no assertion for " << ppq;
        } catch (const EAssertionFailed& e) {
            EXPECT_NE(e.Message().find("PPQ <= 0"), std::string::npos) << e.Message();
        }
    }
}

TEST(MidiCommonTest, HexForms)
{
    EXPECT_EQ(StrToHex("AB"), "4142");
    EXPECT_EQ(StrToHex(Bytes({0x00, 0xFF, 0x7E})), "00FF7E");
    EXPECT_EQ(StrToHex(""), "");

    TMemoryStream stream;
    StrToStream(Bytes({0xF0, 0x7E, 0xF7}), stream);
    EXPECT_EQ(stream.Size(), 3);
    EXPECT_EQ(stream.Position(), 0);
    stream.SetPosition(3);
    EXPECT_EQ(StreamToHex(stream), "F0 7E F7 ");
    EXPECT_EQ(stream.Position(), 0);

    StrToStream("", stream);
    EXPECT_EQ(stream.Size(), 0) << "a shorter text shrinks the stream";
    EXPECT_EQ(StreamToHex(stream), "");
}

TEST(MidiCommonTest, NoteNames)
{
    struct Case {
        std::uint8_t note;
        std::string name;
        std::string numbered;
    };
    const Case cases[] = {
        {60, "C5", "1"}, {61, "C#5", "1#"}, {0, "C0", "1"}, {11, "B0", "7"}, {127, "G10", "5"}, {70, "A#5", "6#"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NoteToName(c.note), c.name);
        EXPECT_EQ(NoteToNumbered(c.note), c.numbered);
    }
}

} // namespace
} // namespace kv
