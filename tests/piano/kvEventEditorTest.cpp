#include "piano/kvEventEditor.h"

#include "base/Exceptions.h"
#include "piano/kvPianoRollTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kv {
namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

TEST(EventEditor, NumberFieldsReadDecimalOrDollarHexAndKeepTheCurrentValueOtherwise)
{
    struct Case {
        const char* text;
        std::int32_t number; // current value 77
        std::uint8_t byte;   // current byte 77
    };
    const Case cases[] = {
        {"144", 144, 144}, {"$90", 144, 144}, {"$ff", 255, 255}, {" 60", 60, 60}, {"300", 300, 44},
        {"-1", -1, 255},   {"abc", 77, 77},   {"", 77, 77},      {"12x", 77, 77}, {"$", 77, 77},
        {"99999999999", 77, 77},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EditorNumber(c.text, 77), c.number) << c.text;
        EXPECT_EQ(EditorByte(c.text, 77), c.byte) << c.text;
    }
}

TEST(EventEditor, MetaFieldByTypeShownAndWrittenBack)
{
    struct Case {
        int status, type;
        std::string letter;
        bool shown;
        std::string label, text;
        std::string typed;
        std::optional<std::string> written;
    };
    const Case cases[] = {
        {0xFF, 0x51, Bytes({0x07, 0xA1, 0x20}), true, "Speed:", "120", "90", BpmToTempo(90)},
        {0xFF, 0x51, Bytes({0x07, 0xA1, 0x20}), true, "Speed:", "120", "$3C", BpmToTempo(60)},
        {0xFF, 0x58, Bytes({4, 2, 24, 8}), true, "Time Signature:", "4/4", "6/8", Bytes({6, 3, 0, 8})},
        {0xFF, 0x59, Bytes({0xFE, 0}), true, "Key Signature:", "-2/0", "4/0", Bytes({4, 0})},
        {0xFF, 0x03, "Piano", true, "Letter:", "Piano", "Organ", std::string("Organ")},
        // A file keeps its texts in the code page (Windows-1252 here); the field shows and takes UTF-8.
        {0xFF, 0x03, "\xDC" "bung", true, "Letter:", "\xC3\x9C" "bung", "\xC3\x9C" "bung 2", std::string("\xDC" "bung 2")},
        {0xFF, 0x2F, "", false, "", "", "x", std::nullopt},
        {0x90, 0x51, "", false, "", "", "120", std::nullopt}, // pitch 81, not a tempo
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label + " " + c.typed);
        TKVMidiEvent e;
        e.SetEvent(static_cast<std::uint8_t>(c.status));
        e.SetData1(static_cast<std::uint8_t>(c.type));
        e.SetData2(100);
        e.SetLetter(c.letter);
        const TKVMetaField field = MetaFieldOf(e);
        EXPECT_EQ(field.Shown, c.shown);
        EXPECT_EQ(field.Label, c.label);
        EXPECT_EQ(field.Text, c.text);
        TKVEventFields fields;
        fields.MetaValue = c.typed;
        const TKVEventValues values = ReadEventFields(e, fields);
        EXPECT_EQ(values.Letter, c.written);
        WriteEventValues(e, values);
        EXPECT_EQ(e.Letter(), c.written.value_or(c.letter));
    }
}

TEST(EventEditor, BadSpeedIsRefusedWithAMessageBeforeAnythingChanges)
{
    for (const char* typed : {"abc", "", "0", "-5"}) {
        TKVMidiEvent tempo;
        tempo.SetEvent(0xFF);
        tempo.SetData1(0x51);
        tempo.SetLetter(Bytes({0x07, 0xA1, 0x20}));
        TKVEventFields fields;
        fields.MetaValue = typed;
        fields.StartTime = "480";
        try {
            ReadEventFields(tempo, fields);
            ADD_FAILURE() << "accepted " << typed;
        } catch (const EConvertError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("'") + typed + "'"), std::string::npos) << e.what();
        }
        EXPECT_EQ(tempo.StartTime(), 0);
        EXPECT_EQ(tempo.Letter(), Bytes({0x07, 0xA1, 0x20}));
    }
}

TEST(EventEditor, ANoteOnsFieldsMoveItsNoteOffAlong)
{
    TKVMidiEvent on, off;
    on.SetEvent(0x90);
    on.SetData1(60);
    on.SetData2(100);
    off.SetEvent(0x80);
    off.SetData1(60);
    off.SetStartTime(1440);
    on.SetStartTime(960);
    on.SetRelatedEvent(&off);
    off.SetRelatedEvent(&on);

    TKVEventFields fields{2, "144", "$3E", "300", "1200", ""};
    const TKVEventValues values = ReadEventFields(on, fields);
    EXPECT_EQ(values.Track, 1);
    WriteEventValues(on, values);
    EXPECT_EQ(on.Event(), 0x90);
    EXPECT_EQ(on.Data1(), 62);
    EXPECT_EQ(on.Data2(), 44);
    EXPECT_EQ(on.StartTime(), 1200);
    EXPECT_EQ(off.Data1(), 62);
    EXPECT_EQ(off.StartTime(), 1680); // the note keeps its length

    fields = {2, "x", "", "y", "abc", ""};
    WriteEventValues(on, ReadEventFields(on, fields));
    EXPECT_EQ(on.Data1(), 62);
    EXPECT_EQ(on.Data2(), 44);
    EXPECT_EQ(on.StartTime(), 1200);
}

TEST(EventEditor, HeaderFieldsAndAResolutionOutOfRangeRefused)
{
    const TKVMidiHeader current{ftMultiSynch, 3, 480};
    struct Case {
        TKVHeaderFields fields;
        TKVMidiHeader expected;
    };
    const Case accepted[] = {
        {{0, "3", "96"}, {ftSingle, 3, 96}},
        {{2, "x", "$1E0"}, {ftMultiAsynch, 3, 480}},
        {{1, "5", "abc"}, {ftMultiSynch, 5, 480}},
        {{-1, "3", "32767"}, {ftMultiSynch, 3, 32767}},
    };
    for (const Case& c : accepted) EXPECT_EQ(ReadHeaderFields(current, c.fields), c.expected) << c.fields.PulsesPerQuarter;
    for (const char* ppq : {"0", "-480", "32768", "$8000"}) {
        try {
            ReadHeaderFields(current, {0, "3", ppq});
            ADD_FAILURE() << "accepted " << ppq;
        } catch (const EConvertError& e) {
            EXPECT_NE(std::string(e.what()).find("Pulses per quarter"), std::string::npos) << e.what();
        }
    }
}

TEST(EventEditor, ApplyMovesANoteWithItsNoteOffToAnotherTrackAndResortsBoth)
{
    auto song = test::MakeRollSong(480, {{0, 60, 0, 480}, {1, 62, 960, 1440}, {1, 64, 1920, 2400}}, 3);
    TKVMidiEvent* note = test::FindNote(*song, 64, 1920);
    ASSERT_NE(note, nullptr);
    ASSERT_EQ(TrackHoldingEvent(*song, note), 1);
    TKVMidiEvent* off = note->RelatedEvent();
    ASSERT_NE(off, nullptr);

    // To the third track (spin value 3), starting at 100 with pitch 65.
    TKVEventFields fields{3, "", "65", "", "100", ""};
    ApplyEventValues(*song, *note, ReadEventFields(*note, fields));
    EXPECT_EQ(TrackHoldingEvent(*song, note), 2);
    EXPECT_EQ(TrackHoldingEvent(*song, off), 2);
    EXPECT_EQ(note->Track(), 2);
    EXPECT_EQ(off->Track(), 2);
    EXPECT_EQ(note->RelatedEvent(), off);
    EXPECT_EQ(off->StartTime(), 580);
    EXPECT_EQ(off->Data1(), 65);
    EXPECT_EQ(song->GetTrack(1)->TrackEventCount(), 3); // the other note and the end of the track
    // Sorted: the moved note comes first in its new track, with delta times following.
    EXPECT_EQ(song->GetTrack(2)->GetEvent(0), note);
    EXPECT_EQ(note->DeltaTime(), 100);

    // An event the song does not hold is left alone.
    TKVMidiEvent stray;
    stray.SetEvent(0x90);
    ApplyEventValues(*song, stray, ReadEventFields(stray, {1, "", "70", "", "5", ""}));
    EXPECT_EQ(stray.Data1(), 0);
}

} // namespace
} // namespace kv
