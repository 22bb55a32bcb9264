// One MIDI event: its derived type, the setters that move a note's off along, and AssignTo.
#include "midi/kvMidiEvent.h"

#include "base/Exceptions.h"
#include "base/TComponent.h"
#include "midi/kvMidiTestSupport.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::MakeEvent;

TEST(MidiEventTest, EventType)
{
    struct Case {
        int status;
        int data2;
        TKVEventType type;
    };
    const Case cases[] = {
        {0x90, 100, etOn}, {0x9F, 1, etOn},     {0x90, 0, etOff},     {0x80, 0, etOff},
        {0x8A, 64, etOff}, {0xB0, 7, etControl}, {0xC5, 0, etProgram}, {0xFF, 0, etSystem},
        {0xF0, 0, etOther}, {0xFE, 0, etOther},  {0xA0, 5, etOther},   {0xD0, 5, etOther},
        {0xE0, 5, etOther}, {0x7F, 5, etOther},  {0x00, 0, etOther},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.status << " " << c.data2);
        EXPECT_EQ(MakeEvent(c.status, 60, c.data2, 0)->EventType(), c.type);
    }
}

TEST(MidiEventTest, CreatedEmpty)
{
    TKVMidiEvent event;
    EXPECT_EQ(event.Track(), 1);
    EXPECT_EQ(event.Event(), 0);
    EXPECT_EQ(event.Letter(), "");
    EXPECT_EQ(event.StartTime(), 0);
    EXPECT_EQ(event.RelatedEvent(), nullptr);
    EXPECT_EQ(event.ClassName(), "TKVMidiEvent");
}

// A note-on at 100 paired with its note-off at 160.
struct PairedNote : testing::Test {
    void SetUp() override
    {
        on = MakeEvent(0x90, 60, 100, 100);
        off = MakeEvent(0x80, 60, 0, 160);
        on->SetRelatedEvent(off.get());
        on->SetTimeLength(60);
        off->SetTimeLength(TKVMidiEvent::PairedOffMarker);
    }
    std::unique_ptr<TKVMidiEvent> on;
    std::unique_ptr<TKVMidiEvent> off;
};

TEST_F(PairedNote, Data1OfTheNoteOnMovesItsOff)
{
    on->SetData1(64);
    EXPECT_EQ(off->Data1(), 64);
    off->SetData1(65);
    EXPECT_EQ(on->Data1(), 64) << "a note-off's note is its own";
}

TEST_F(PairedNote, StartTimeMovesTheOffAndKeepsTheLength)
{
    on->SetStartTime(40);
    EXPECT_EQ(on->StartTime(), 40);
    EXPECT_EQ(on->TimeLength(), 60);
    EXPECT_EQ(off->StartTime(), 100);
    EXPECT_EQ(off->TimeLength(), TKVMidiEvent::PairedOffMarker);

    on->SetTimeLength(5);
    on->SetStartTime(40);
    EXPECT_EQ(on->TimeLength(), 5) << "the current start time changes nothing";
    EXPECT_EQ(off->StartTime(), 100);
}

TEST_F(PairedNote, NoteOffAndUnpairedEventsMoveAlone)
{
    off->SetStartTime(500);
    EXPECT_EQ(on->StartTime(), 100);
    EXPECT_EQ(on->TimeLength(), 60);

    on->SetData2(0); // now a note-off itself
    on->SetStartTime(0);
    EXPECT_EQ(off->StartTime(), 500);
}

TEST_F(PairedNote, RelatedEventSelfIsRefused)
{
    try {
        on->SetRelatedEvent(on.get());
        FAIL() << "no assertion";
    } catch (const EAssertionFailed& e) {
        EXPECT_NE(e.Message().find("Related event is self."), std::string::npos) << e.Message();
    }
    EXPECT_EQ(on->RelatedEvent(), off.get());
    on->SetRelatedEvent(nullptr);
    EXPECT_EQ(on->RelatedEvent(), nullptr);
}

TEST_F(PairedNote, AssignCopiesEveryFieldWithoutSideEffects)
{
    on->SetTrack(3);
    on->SetLetter("x\xFFy");
    on->SetDeltaTime(7);
    TKVMidiEvent copy;
    auto otherOff = MakeEvent(0x80, 10, 0, 999);
    copy.SetRelatedEvent(otherOff.get());
    copy.SetEvent(0x90);
    copy.SetData2(1);

    copy.Assign(*on);

    EXPECT_EQ(copy.Track(), 3);
    EXPECT_EQ(copy.Event(), 0x90);
    EXPECT_EQ(copy.Data1(), 60);
    EXPECT_EQ(copy.Data2(), 100);
    EXPECT_EQ(copy.Letter(), "x\xFFy");
    EXPECT_EQ(copy.DeltaTime(), 7);
    EXPECT_EQ(copy.StartTime(), 100);
    EXPECT_EQ(copy.TimeLength(), 60);
    EXPECT_EQ(copy.RelatedEvent(), off.get());
    EXPECT_EQ(otherOff->Data1(), 10) << "no setter ran on the destination";
    EXPECT_EQ(otherOff->StartTime(), 999);
    EXPECT_EQ(off->StartTime(), 160);
}

TEST(MidiEventTest, AssignToAnotherClassRaisesTheConversionError)
{
    TKVMidiEvent event;
    TComponent component(nullptr);
    EXPECT_THROW(component.Assign(event), EConvertError);
}

} // namespace
} // namespace kv
