// The name tables: numbering and the texts whose spelling is easy to "correct" by mistake.
#include "midi/kvMidiCommonNames.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(MidiCommonNamesTest, ProgramAndDrumNumbers)
{
    for (int f = 0; f < 16; ++f)
        for (int j = 0; j < 8; ++j)
            EXPECT_EQ(GMFamilies[f].FInstrument[j].iData, 8 * f + j) << GMFamilies[f].FInstrument[j].sName;
    for (int i = 0; i < 47; ++i)
        EXPECT_EQ(GMDrums[i].iData, 35 + i) << GMDrums[i].sName;
}

TEST(MidiCommonNamesTest, TextsKeptAsTheyStand)
{
    struct Case {
        const KVInstrument& entry;
        const char* name;
        int data;
    };
    const Case cases[] = {
        {MidiMessageNames[0], "ALL NOTES OFF", 123},
        {MidiMessageNames[10], "MTCQU ARTER FRAME", 0xF1},
        {MidiMessageNames[19], "SYSTEM RESET", 0xFF},
        {GMFamilies[0].FInstrument[0], "Acoustic Grand Piano", 0},
        {GMFamilies[2].FInstrument[5], "Accordian", 21},
        {GMFamilies[9].FInstrument[1], "Flute ", 73},
        {GMFamilies[10].FInstrument[2], "Lead 3 (caliope lead)", 82},
        {GMFamilies[15].FInstrument[7], "Gunshot", 127},
        {GMDrums[0], "Acoustic Bass Drum", 35},
        {GMDrums[46], "Open Triangle", 81},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.entry.sName, c.name);
        EXPECT_EQ(c.entry.iData, c.data) << c.name;
    }
    EXPECT_EQ(GMFamilies[0].FName, "Piano");
    EXPECT_EQ(GMFamilies[15].FName, "Sound Effects");
    EXPECT_EQ(NoteNames[1], "C#");
    EXPECT_EQ(NumberedNoteNames[11], "7");
}

} // namespace
} // namespace kv
