// A track: building it in time order, adding and deleting events, re-timing.
#include "midi/kvMidiTrack.h"

#include "base/Exceptions.h"
#include "midi/kvMidiTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

using test::Bytes;
using test::MakeEvent;
using test::NoteOff;
using test::NoteOn;

TKVMidiEvent* Add(TMyMidiTrack& track, std::unique_ptr<TKVMidiEvent> event)
{
    TKVMidiEvent* added = event.get();
    track.AddEvent(std::move(event));
    return added;
}

std::vector<TKVMidiEvent*> EventsOf(const TMyMidiTrack& track)
{
    std::vector<TKVMidiEvent*> events;
    for (int i = 0; i < track.TrackEventCount(); ++i) events.push_back(track.GetEvent(i));
    return events;
}

struct ModifiedCounter {
    explicit ModifiedCounter(TMyMidiTrack& track)
    {
        track.SetTrackModified([this](bool modified) {
            EXPECT_TRUE(modified);
            ++count;
        });
    }
    int count = 0;
};

TEST(MidiTrackTest, CreatedEmpty)
{
    TMyMidiTrack track;
    EXPECT_TRUE(track.Active());
    EXPECT_EQ(track.TrackHand(), thLeft);
    EXPECT_EQ(track.TrackColor(), 0xFFFFFF);
    EXPECT_EQ(track.TrackEventCount(), 0);
    EXPECT_EQ(track.TrackLength(), 0);
    EXPECT_EQ(track.GetLastEvent(), nullptr);
    for (int index : {-1, 0, 1}) EXPECT_EQ(track.GetEvent(index), nullptr) << index;
}

TEST(MidiTrackTest, PutEventBuildsTimesTextsAndChannels)
{
    struct Put {
        int status, data1;
        std::int32_t delta;
        std::string letter;
        std::int32_t expectedStart;
    };
    const Put puts[] = {
        {0xFF, 0x03, 0, "Pia", 0},
        {0xFF, 0x03, 5, "no", 5},
        {0xB2, 7, 10, "", 15},
        {0xF0, 0, 100, "", 115},  // system-exclusive events take their time like every other
        {0xF7, 0, 100, "", 215},
        {0xF8, 0, 1, "", 216},
        {0xC9, 0, 4, "", 220},
        {0x93, 60, 0, "", 220},  // notes mark no channel
        {0xFF, 0x01, 0, "key", 220},
        {0xFF, 0x02, 0, "(c)", 220},
        {0xFF, 0x04, 0, "Harp", 220},
        {0xFF, 0x05, 0, "la", 220},
        {0xFF, 0x05, 0, "la", 220},
        {0xFF, 0x06, 0, "marker", 220},
    };
    TMyMidiTrack track;
    ModifiedCounter modified(track);
    for (const Put& p : puts) {
        auto event = MakeEvent(p.status, p.data1, 0, -1, p.delta);
        event->SetLetter(p.letter);
        TKVMidiEvent* put = track.PutEvent(std::move(event));
        EXPECT_EQ(put->StartTime(), p.expectedStart) << std::hex << p.status;
        EXPECT_EQ(track.GetLastEvent(), put);
    }
    EXPECT_EQ(track.TrackTime(), 220);
    EXPECT_EQ(track.TrackName(), "Piano");
    EXPECT_EQ(track.TrackKeyword(), "key");
    EXPECT_EQ(track.TrackCopyright(), "(c)");
    EXPECT_EQ(track.TrackInstrument(), "Harp");
    EXPECT_EQ(track.TrackLyricText(), "lala");
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_EQ(track.GetChannels(channel), channel == 2 || channel == 9) << channel;
    EXPECT_FALSE(track.GetChannels(16));
    EXPECT_EQ(modified.count, 0) << "building a track is no modification";
}

TEST(MidiTrackTest, PutCopyrightAndPutEndEvent)
{
    TMyMidiTrack track;
    track.PutEvent(MakeEvent(0x90, 60, 1, 0, 30));
    track.PutCopyright();
    track.PutEndEvent();
    ASSERT_EQ(track.TrackEventCount(), 3);
    const TKVMidiEvent* copyright = track.GetEvent(1);
    EXPECT_EQ(copyright->Event(), 0xFF);
    EXPECT_EQ(copyright->Data1(), 2);
    EXPECT_EQ(copyright->Letter(), CopyrightNotice);
    EXPECT_EQ(copyright->StartTime(), 30);
    EXPECT_EQ(track.TrackCopyright(), CopyrightNotice);
    const TKVMidiEvent* end = track.GetEvent(2);
    EXPECT_EQ(end->Event(), 0xFF);
    EXPECT_EQ(end->Data1(), 0x2F);
    EXPECT_EQ(end->Data2(), 0);
    EXPECT_EQ(end->Letter(), "");
    EXPECT_EQ(track.TrackLength(), 30);
}

TEST(MidiTrackTest, AddEventReturnsTheIndexOfTheLastEventAppended)
{
    TMyMidiTrack track;
    ModifiedCounter modified(track);
    EXPECT_EQ(track.AddEvent(MakeEvent(0xB0, 7, 100, 0)), 0);
    auto on = NoteOn(60, 10);
    TKVMidiEvent* onRaw = on.get();
    auto off = NoteOff(60, 20);
    TKVMidiEvent* offRaw = off.get();
    EXPECT_EQ(track.AddEvent(std::move(on), std::move(off)), 2) << "the note-off's index";
    EXPECT_EQ(track.GetEvent(1), onRaw);
    EXPECT_EQ(track.GetEvent(2), offRaw);
    EXPECT_EQ(onRaw->RelatedEvent(), offRaw);
    EXPECT_EQ(onRaw->StartTime(), 10) << "no time is changed";
    EXPECT_EQ(modified.count, 2);
}

TEST(MidiTrackTest, AddEventNeverLinksOutsideTheTrack)
{
    TMyMidiTrack track;
    TKVMidiEvent* offInTrack = Add(track, NoteOff(60, 20));
    auto strayOff = NoteOff(61, 20);

    auto linkedInside = NoteOn(60, 0);
    linkedInside->SetRelatedEvent(offInTrack);
    TKVMidiEvent* inside = Add(track, std::move(linkedInside));
    auto linkedOutside = NoteOn(61, 0);
    linkedOutside->SetRelatedEvent(strayOff.get());
    TKVMidiEvent* outside = Add(track, std::move(linkedOutside));

    EXPECT_EQ(track.TrackEventCount(), 3) << "a note-off already in the track is not appended again";
    EXPECT_EQ(inside->RelatedEvent(), offInTrack);
    EXPECT_EQ(outside->RelatedEvent(), nullptr);
    outside->SetData1(70);
    EXPECT_EQ(strayOff->Data1(), 61);
}

// A track of: program change, note 60 (on at 0, off at 100), note 62 (on at 50, off at 80).
struct TwoNotes : testing::Test {
    void SetUp() override
    {
        program = Add(track, MakeEvent(0xC0, 1, 0, 0));
        auto on = NoteOn(60, 0);
        auto off = NoteOff(60, 100);
        on60 = on.get();
        off60 = off.get();
        track.AddEvent(std::move(on), std::move(off));
        auto on2 = NoteOn(62, 50);
        auto off2 = NoteOff(62, 80);
        on62 = on2.get();
        off62 = off2.get();
        track.AddEvent(std::move(on2), std::move(off2));
    }
    TMyMidiTrack track;
    TKVMidiEvent* program = nullptr;
    TKVMidiEvent* on60 = nullptr;
    TKVMidiEvent* off60 = nullptr;
    TKVMidiEvent* on62 = nullptr;
    TKVMidiEvent* off62 = nullptr;
};

TEST_F(TwoNotes, DelEventRemovesTheNoteAndItsOff)
{
    ModifiedCounter modified(track);
    EXPECT_TRUE(track.DelEvent(on60, true).empty());
    EXPECT_EQ(EventsOf(track), (std::vector<TKVMidiEvent*>{program, on62, off62}));
    EXPECT_EQ(modified.count, 2) << "one report per removed event";

    track.DelEvent(program, true);
    EXPECT_EQ(EventsOf(track), (std::vector<TKVMidiEvent*>{on62, off62}));
    EXPECT_EQ(modified.count, 3);
}

TEST_F(TwoNotes, DelEventOfANoteWhoseOffIsListedFirst)
{
    auto on = NoteOn(64, 0);
    on->SetRelatedEvent(off62);
    TKVMidiEvent* late = Add(track, std::move(on)); // listed after its note-off
    track.DelEvent(late, true);
    EXPECT_EQ(EventsOf(track), (std::vector<TKVMidiEvent*>{program, on60, off60, on62}));
    EXPECT_EQ(on62->RelatedEvent(), nullptr) << "the other link to the removed note-off is cleared";
}

TEST_F(TwoNotes, DeletingANoteOffUnlinksItsNoteOn)
{
    track.DelEvent(off60, true);
    EXPECT_EQ(EventsOf(track), (std::vector<TKVMidiEvent*>{program, on60, on62, off62}));
    EXPECT_EQ(on60->RelatedEvent(), nullptr);
    on60->SetData1(40); // would write into the freed note-off if the link were kept
    on60->SetStartTime(5);
    EXPECT_EQ(on62->RelatedEvent(), off62);
}

TEST_F(TwoNotes, DelEventWithoutFreeingHandsTheNoteBack)
{
    ModifiedCounter modified(track);
    auto removed = track.DelEvent(on60, false);
    ASSERT_EQ(removed.size(), 2u);
    EXPECT_EQ(removed[0].get(), on60);
    EXPECT_EQ(removed[1].get(), off60);
    EXPECT_EQ(on60->RelatedEvent(), off60) << "the pair stays linked";
    EXPECT_EQ(modified.count, 2);

    TMyMidiTrack other;
    EXPECT_EQ(other.AddEvent(std::move(removed[0]), std::move(removed[1])), 1);
    EXPECT_EQ(other.GetEvent(0)->RelatedEvent(), other.GetEvent(1));
}

TEST_F(TwoNotes, DelEventOfAnEventNotInTheTrackRemovesNothingElse)
{
    auto stranger = NoteOn(60, 0);
    EXPECT_TRUE(track.DelEvent(stranger.get(), false).empty());
    EXPECT_TRUE(track.DelEvent(nullptr, true).empty());
    EXPECT_EQ(track.TrackEventCount(), 5);
}

TEST_F(TwoNotes, DelEventsRemovesSeveralNotesAndTheirOffsInOnePass)
{
    ModifiedCounter modified(track);
    auto stranger = NoteOn(61, 0);
    track.DelEvents({on62, stranger.get(), off60, nullptr});
    EXPECT_EQ(EventsOf(track), (std::vector<TKVMidiEvent*>{program, on60}));
    EXPECT_EQ(on60->RelatedEvent(), nullptr) << "no link to a freed note-off is kept";
    EXPECT_EQ(modified.count, 3) << "one report per removed event";
}

TEST(MidiTrackTest, UpdateDeltaTimePlacesTheEndOfTrackOnTheLastEvent)
{
    TMyMidiTrack track;
    TKVMidiEvent* end = Add(track, MakeEvent(0xFF, 0x2F, 0, 1000)); // listed first, 480 after the last note-off
    TKVMidiEvent* on = Add(track, NoteOn(60, 0));
    TKVMidiEvent* off = Add(track, NoteOff(60, 520));
    TKVMidiEvent* text = Add(track, MakeEvent(0xFF, 0x01, 0, 100));
    ModifiedCounter modified(track);

    track.UpdateDeltaTime();

    EXPECT_EQ(EventsOf(track), (std::vector<TKVMidiEvent*>{on, text, off, end}));
    EXPECT_EQ(end->StartTime(), 520);
    EXPECT_EQ(end->DeltaTime(), 0);
    EXPECT_EQ(text->DeltaTime(), 100);
    EXPECT_EQ(off->DeltaTime(), 420);
    EXPECT_EQ(modified.count, 1);
}

TEST(MidiTrackTest, UpdateDeltaTimeOfANoteMovedToTheFront)
{
    TMyMidiTrack track;
    TKVMidiEvent* first = Add(track, MakeEvent(0xC0, 0, 0, 100));
    auto on = NoteOn(60, 200);
    auto off = NoteOff(60, 300);
    TKVMidiEvent* moved = on.get();
    TKVMidiEvent* movedOff = off.get();
    track.AddEvent(std::move(on), std::move(off));
    track.PutEndEvent();

    moved->SetStartTime(30); // off follows to 130
    track.UpdateDeltaTime();

    ASSERT_EQ(track.GetEvent(0), moved);
    EXPECT_EQ(moved->DeltaTime(), 30);
    EXPECT_EQ(first->DeltaTime(), 70);
    EXPECT_EQ(movedOff->StartTime(), 130);
    EXPECT_EQ(movedOff->DeltaTime(), 30);
    EXPECT_EQ(track.GetLastEvent()->Data1(), 0x2F);
    EXPECT_EQ(track.GetLastEvent()->StartTime(), 130);
}

TEST(MidiTrackTest, UpdateDeltaTimeKeepsTheOrderOfEventsOnOneTick)
{
    // A note struck again on the tick where the previous one ends: its note-off comes first.
    TMyMidiTrack track;
    TKVMidiEvent* firstOn = Add(track, NoteOn(60, 0));
    TKVMidiEvent* end = Add(track, MakeEvent(0xFF, 0x2F, 0, 200));
    std::vector<TKVMidiEvent*> sameTick;
    for (int i = 0; i < 40; ++i) { // many, so that an unstable sort would reorder them
        sameTick.push_back(Add(track, NoteOff(60 + i, 100)));
        sameTick.push_back(Add(track, NoteOn(60 + i, 100)));
    }
    TKVMidiEvent* lastOff = Add(track, NoteOff(60, 200));

    track.UpdateDeltaTime();

    std::vector<TKVMidiEvent*> expected{firstOn};
    expected.insert(expected.end(), sameTick.begin(), sameTick.end());
    expected.push_back(lastOff);
    expected.push_back(end);
    EXPECT_EQ(EventsOf(track), expected);
}

TEST(MidiTrackTest, UpdateDeltaTimeOfAnEmptyTrack)
{
    TMyMidiTrack track;
    ModifiedCounter modified(track);
    track.UpdateDeltaTime();
    EXPECT_EQ(track.TrackEventCount(), 0);
    EXPECT_EQ(modified.count, 1);
}

} // namespace
} // namespace kv
