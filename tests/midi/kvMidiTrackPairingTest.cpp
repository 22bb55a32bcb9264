// Pairing note-ons with note-offs (CalcOffEvents): the cases worth naming, and a differential test
// against a literal transcription of the pairing as first designed (a search of the rest of the
// list for every note-on's channel and note, then a backward walk deleting the unpaired ones).
#include "midi/kvMidiTrack.h"

#include "midi/kvMidiTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

namespace kv {
namespace {

using test::MakeEvent;
using test::NoteOff;
using test::NoteOn;

constexpr std::int32_t Marker = TKVMidiEvent::PairedOffMarker;

TKVMidiEvent* Add(TMyMidiTrack& track, std::unique_ptr<TKVMidiEvent> event)
{
    TKVMidiEvent* added = event.get();
    track.AddEvent(std::move(event));
    return added;
}

int CountModifications(TMyMidiTrack& track)
{
    int count = 0;
    track.SetTrackModified([&count](bool) { ++count; });
    track.CalcOffEvents();
    track.SetTrackModified(nullptr);
    return count;
}

TEST(MidiTrackPairingTest, RepeatedNotesPairInOrder)
{
    TMyMidiTrack track;
    TKVMidiEvent* on1 = Add(track, NoteOn(60, 0));
    TKVMidiEvent* on2 = Add(track, NoteOn(60, 10));
    TKVMidiEvent* off1 = Add(track, NoteOff(60, 20));
    TKVMidiEvent* off2 = Add(track, NoteOff(60, 30));
    track.CalcOffEvents();
    EXPECT_EQ(on1->RelatedEvent(), off1);
    EXPECT_EQ(on1->TimeLength(), 20);
    EXPECT_EQ(on2->RelatedEvent(), off2);
    EXPECT_EQ(on2->TimeLength(), 20);
    EXPECT_EQ(off1->TimeLength(), Marker);
    EXPECT_EQ(off2->TimeLength(), Marker);
}

TEST(MidiTrackPairingTest, VelocityZeroEndsANoteOfItsChannel)
{
    TMyMidiTrack track;
    TKVMidiEvent* on = Add(track, MakeEvent(0x91, 60, 90, 0));
    TKVMidiEvent* otherChannel = Add(track, MakeEvent(0x92, 60, 0, 20));
    TKVMidiEvent* off = Add(track, MakeEvent(0x91, 60, 0, 48));
    track.CalcOffEvents();
    EXPECT_EQ(on->RelatedEvent(), off);
    EXPECT_EQ(on->TimeLength(), 48);
    EXPECT_EQ(otherChannel->TimeLength(), 0) << "not taken";
}

// A format-0 track: channel 1's note at 0, channel 2's note at 16 ending at 32, channel 1's
// note-off never comes. Channel 2's note keeps its own note-off; channel 1's is dropped.
TEST(MidiTrackPairingTest, NotesOfSeveralChannelsInOneTrackPairWithinTheirChannel)
{
    TMyMidiTrack track;
    Add(track, MakeEvent(0x90, 0x3C, 0x40, 0));
    TKVMidiEvent* on2 = Add(track, MakeEvent(0x91, 0x3C, 0x40, 16));
    TKVMidiEvent* off2 = Add(track, MakeEvent(0x81, 0x3C, 0x00, 32));
    track.CalcOffEvents();
    ASSERT_EQ(track.TrackEventCount(), 2);
    EXPECT_EQ(track.GetEvent(0), on2);
    EXPECT_EQ(on2->RelatedEvent(), off2);
    EXPECT_EQ(on2->TimeLength(), 16);
}

TEST(MidiTrackPairingTest, UnendedNoteOnsAreDroppedAndLoneNoteOffsStay)
{
    TMyMidiTrack track;
    TKVMidiEvent* loneOff = Add(track, NoteOff(62, 0));
    Add(track, NoteOn(60, 5));
    TKVMidiEvent* laterOn = Add(track, NoteOn(62, 10)); // the note-off before it does not count
    TKVMidiEvent* offBeforeOn = Add(track, NoteOff(61, 12));
    Add(track, NoteOn(61, 15));
    TKVMidiEvent* off = Add(track, NoteOff(62, 40));

    EXPECT_EQ(CountModifications(track), 2);

    ASSERT_EQ(track.TrackEventCount(), 4);
    EXPECT_EQ(track.GetEvent(0), loneOff);
    EXPECT_EQ(track.GetEvent(1), laterOn);
    EXPECT_EQ(track.GetEvent(2), offBeforeOn);
    EXPECT_EQ(track.GetEvent(3), off);
    EXPECT_EQ(loneOff->TimeLength(), 0);
    EXPECT_EQ(offBeforeOn->TimeLength(), 0);
    EXPECT_EQ(laterOn->RelatedEvent(), off);
}

TEST(MidiTrackPairingTest, TimeOfDroppedNoteOnsPassesToTheNextTimedEvent)
{
    struct Put {
        int status, note, velocity;
        std::int32_t delta;
    };
    const Put puts[] = {
        {0xB0, 7, 100, 5}, // 5
        {0x90, 61, 99, 10}, // 15, never ends
        {0x90, 62, 99, 3},  // 18, never ends
        {0xF0, 0, 0, 7},    // 25: a system-exclusive event takes over the dropped time too
        {0x90, 60, 99, 2},  // 27
        {0x80, 60, 0, 10},  // 37
    };
    TMyMidiTrack track;
    for (const Put& p : puts) track.PutEvent(MakeEvent(p.status, p.note, p.velocity, 0, p.delta));

    EXPECT_EQ(CountModifications(track), 2);

    ASSERT_EQ(track.TrackEventCount(), 4);
    const std::int32_t expectedDeltas[] = {5, 10 + 3 + 7, 2, 10};
    const std::int32_t expectedStarts[] = {5, 25, 27, 37};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(track.GetEvent(i)->DeltaTime(), expectedDeltas[i]) << i;
        EXPECT_EQ(track.GetEvent(i)->StartTime(), expectedStarts[i]) << i;
    }
}

TEST(MidiTrackPairingTest, LinksToDroppedEventsAreCleared)
{
    TMyMidiTrack track;
    TKVMidiEvent* program = Add(track, MakeEvent(0xC0, 0, 0, 0));
    TKVMidiEvent* unended = Add(track, NoteOn(60, 0));
    program->SetRelatedEvent(unended);
    track.CalcOffEvents();
    EXPECT_EQ(track.TrackEventCount(), 1);
    EXPECT_EQ(program->RelatedEvent(), nullptr);
}

TEST(MidiTrackPairingTest, SecondRunKeepsThePairs)
{
    TMyMidiTrack track;
    TKVMidiEvent* on = Add(track, NoteOn(60, 0));
    TKVMidiEvent* off = Add(track, NoteOff(60, 10));
    track.CalcOffEvents();
    EXPECT_EQ(CountModifications(track), 0);
    EXPECT_EQ(track.TrackEventCount(), 2);
    EXPECT_EQ(on->RelatedEvent(), off);
    EXPECT_EQ(on->TimeLength(), 10);
}

// ---- Differential test -------------------------------------------------------------------------

struct PlainEvent {
    int id;
    std::uint8_t status, data1, data2;
    std::int32_t start, delta, timeLength;
    int related; // id of the related event, -1 for none
};

bool IsPlainOn(const PlainEvent& e) { return (e.status & 0xF0) == 0x90 && e.data2 != 0; }
bool IsPlainOff(const PlainEvent& e)
{
    return ((e.status & 0xF0) == 0x90 && e.data2 == 0) || (e.status & 0xF0) == 0x80;
}

// The pairing as first designed, transcribed literally, the channel compared as well. Returns the
// number of events deleted.
int LiteralCalcOffEvents(std::vector<PlainEvent>& list)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!IsPlainOn(list[i])) continue;
        for (std::size_t j = i; j < list.size(); ++j) {
            if (IsPlainOff(list[j]) && list[j].data1 == list[i].data1 &&
                (list[j].status & 0x0F) == (list[i].status & 0x0F) && list[j].timeLength != -255) {
                list[i].timeLength = static_cast<std::int32_t>(static_cast<std::uint32_t>(list[j].start) -
                                                               static_cast<std::uint32_t>(list[i].start));
                list[i].related = list[j].id;
                list[j].timeLength = -255;
                break;
            }
        }
    }
    int deleted = 0;
    for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i) {
        if (IsPlainOn(list[i]) && list[i].related == -1) {
            list.erase(list.begin() + i);
            ++deleted;
        }
    }
    return deleted;
}

// The start time that reading the track back would give each event.
std::map<int, std::int64_t> ReplayedStarts(const std::vector<PlainEvent>& list)
{
    std::map<int, std::int64_t> starts;
    std::int64_t time = 0;
    for (const PlainEvent& e : list) {
        time += e.delta;
        starts[e.id] = time;
    }
    return starts;
}

std::vector<PlainEvent> RandomTrack(std::mt19937& rng)
{
    auto pick = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    const int noteSpread = std::vector<int>{1, 3, 128}[pick(0, 2)];
    const int count = pick(0, 10) == 0 ? pick(100, 400) : pick(0, 60);
    const bool inTimeOrder = pick(0, 9) != 0;
    const int others[] = {0xB0, 0xC3, 0xA0, 0xE0, 0xFF, 0xF0, 0xF7, 0xF8};

    std::vector<PlainEvent> list;
    std::int32_t time = 0;
    for (int id = 0; id < count; ++id) {
        const int kind = pick(0, 99);
        int status = others[pick(0, 7)];
        int velocity = pick(0, 127);
        if (kind < 35) { // note-on
            status = 0x90 + pick(0, 15);
            velocity = pick(1, 127);
        } else if (kind < 55) { // $8x note-off, any velocity
            status = 0x80 + pick(0, 15);
        } else if (kind < 65) { // note-on with velocity 0
            status = 0x90 + pick(0, 15);
            velocity = 0;
        }
        const int note = noteSpread == 128 ? pick(0, 127) : 60 + pick(0, noteSpread - 1);
        PlainEvent e{id, static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(note),
                     static_cast<std::uint8_t>(velocity), 0, pick(0, 50), 0, -1};
        time += pick(0, 3);
        e.start = inTimeOrder ? time : pick(-100, 1000);
        list.push_back(e);
    }
    // Leftovers of an earlier pairing: marked note-offs and note-ons already linked to a note-off.
    std::vector<int> offs;
    for (const PlainEvent& e : list)
        if (IsPlainOff(e)) offs.push_back(e.id);
    for (PlainEvent& e : list) {
        if (IsPlainOff(e) && pick(0, 9) == 0) e.timeLength = -255;
        if (IsPlainOn(e) && !offs.empty() && pick(0, 9) == 0) {
            e.related = offs[pick(0, static_cast<int>(offs.size()) - 1)];
            e.timeLength = pick(0, 99);
        }
    }
    return list;
}

void BuildTrack(TMyMidiTrack& track, const std::vector<PlainEvent>& list, std::map<const TKVMidiEvent*, int>& ids)
{
    for (const PlainEvent& e : list) {
        auto event = MakeEvent(e.status, e.data1, e.data2, e.start, e.delta);
        event->SetTimeLength(e.timeLength);
        ids[event.get()] = e.id;
        track.AddEvent(std::move(event));
    }
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].related >= 0) track.GetEvent(static_cast<int>(i))->SetRelatedEvent(track.GetEvent(list[i].related));
}

TEST(MidiTrackPairingTest, SamePairsAsTheLiteralPairingOnRandomTracks)
{
    std::mt19937 rng(20240611);
    int pairsSeen = 0;
    int dropsSeen = 0;
    for (int round = 0; round < 4000; ++round) {
        SCOPED_TRACE(round);
        std::vector<PlainEvent> expected = RandomTrack(rng);
        const std::map<int, std::int64_t> startsBefore = ReplayedStarts(expected);

        TMyMidiTrack track;
        std::map<const TKVMidiEvent*, int> ids;
        BuildTrack(track, expected, ids);

        const int runs = std::uniform_int_distribution<int>(1, 3)(rng) == 1 ? 2 : 1;
        int expectedDeleted = 0;
        int modifications = 0;
        for (int run = 0; run < runs; ++run) {
            expectedDeleted += LiteralCalcOffEvents(expected);
            modifications += CountModifications(track);
        }

        EXPECT_EQ(modifications, expectedDeleted);
        ASSERT_EQ(track.TrackEventCount(), static_cast<int>(expected.size()));
        std::vector<PlainEvent> actual;
        for (int i = 0; i < track.TrackEventCount(); ++i) {
            const TKVMidiEvent* event = track.GetEvent(i);
            const PlainEvent& want = expected[i];
            ASSERT_EQ(ids.at(event), want.id) << "at " << i;
            EXPECT_EQ(event->TimeLength(), want.timeLength) << "id " << want.id;
            const int related = event->RelatedEvent() ? ids.at(event->RelatedEvent()) : -1;
            EXPECT_EQ(related, want.related) << "id " << want.id;
            EXPECT_EQ(event->StartTime(), want.start) << "id " << want.id;
            actual.push_back({want.id, event->Event(), event->Data1(), event->Data2(), event->StartTime(),
                              event->DeltaTime(), event->TimeLength(), related});
            if (related >= 0) ++pairsSeen;
        }
        for (const auto& [id, start] : ReplayedStarts(actual))
            EXPECT_EQ(start, startsBefore.at(id)) << "id " << id << " moved in time";
        dropsSeen += expectedDeleted;
    }
    EXPECT_GT(pairsSeen, 10000);
    EXPECT_GT(dropsSeen, 1000);
}

} // namespace
} // namespace kv
