#include "piano/kvPianoRollNoteIndex.h"

#include "piano/kvPianoRollTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

namespace kv {
namespace {

constexpr std::int32_t Far = std::numeric_limits<std::int32_t>::max();

// An event list as the roll holds it, owning its events: notes with their note-offs, a note-on
// that lost its note-off and a few other events in between.
class IndexedList {
public:
    void Note(int start, int end)
    {
        auto on = test::RollEvent(0x90, 60, 100, start);
        auto off = test::RollEvent(0x80, 60, 64, end);
        on->SetRelatedEvent(off.get());
        off->SetRelatedEvent(on.get());
        Add(std::move(on));
        Add(std::move(off));
    }
    void Add(std::unique_ptr<TKVMidiEvent> event)
    {
        list.push_back({event.get(), 0});
        owned.push_back(std::move(event));
    }
    // What a look at every event finds.
    std::vector<std::size_t> Scan(std::int64_t first, std::int64_t last) const
    {
        std::vector<std::size_t> found;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const TKVMidiEvent* on = list[i].Event;
            if ((on->EventType() != etOn || on->RelatedEvent() == nullptr)) continue;
            if (on->StartTime() <= last && on->RelatedEvent()->StartTime() >= first) found.push_back(i);
        }
        return found;
    }
    std::vector<TKVRollEntry> list;
    std::vector<std::unique_ptr<TKVMidiEvent>> owned;
};

TEST(PianoRollNoteIndex, FindsWhatAScanOfEveryEventFinds)
{
    IndexedList song;
    song.Note(0, 100000);                        // held across most of the song
    song.Add(test::RollEvent(0x90, 61, 100, 50)); // a note-on without its note-off
    song.Add(test::RollEvent(0xC0, 5, 0, 50));
    for (int i = 0; i < 500; ++i) song.Note(200 * i + 10, 200 * i + 10 + (i % 7) * 90); // some of length 0
    song.Note(5000, 5000);
    song.Note(5000, 5400);                       // same start as others, later in the list
    song.Note(150000, Far);
    song.Note(20, 30);                           // out of time order in the list
    TKVRollNoteIndex index;
    index.Rebuild(song.list);

    struct Window {
        std::int64_t first, last;
    };
    const Window windows[] = {
        {-1000, -1},          // before everything
        {0, 0},               // the first tick only
        {30, 30},             // an end on the first tick of the window counts
        {5000, 5000},         // starts on the last tick of the window count
        {4990, 5500},
        {100001, 149999},     // after the long note, before the far one: only the short ones
        {120000, 130000},     // nothing starts or sounds here
        {150000, 150000},
        {std::int64_t{Far}, std::int64_t{Far} + 10},
        {std::int64_t{Far} + 1, std::int64_t{Far} + 100}, // beyond every end
        {-5000, 200000},      // the whole song
        {700, 600},           // reversed: what sounds across it
    };
    for (const Window& w : windows) {
        SCOPED_TRACE(testing::Message() << w.first << ".." << w.last);
        EXPECT_EQ(index.Meeting(w.first, w.last), song.Scan(w.first, w.last));
    }
    // A sweep of narrow windows across the song, each block skipped or not.
    for (std::int64_t first = -150; first < 101000; first += 333)
        ASSERT_EQ(index.Meeting(first, first + 57), song.Scan(first, first + 57)) << first;

    index.Clear();
    EXPECT_TRUE(index.Meeting(-5000, 200000).empty());
    index.Rebuild({});
    EXPECT_TRUE(index.Meeting(-5000, 200000).empty());
}

TEST(PianoRollNoteIndex, AnEarlyLongNoteDoesNotHideLaterShortOnes)
{
    // The long note makes every prefix reach far; the blocks of short notes must still be found
    // or skipped on their own ends.
    IndexedList song;
    song.Note(0, 1000000);
    for (int i = 0; i < 1000; ++i) song.Note(100 * i, 100 * i + 50);
    TKVRollNoteIndex index;
    index.Rebuild(song.list);
    for (std::int64_t first : {0, 49, 50, 51, 99950, 99951, 500000})
        EXPECT_EQ(index.Meeting(first, first + 10), song.Scan(first, first + 10)) << first;
}

} // namespace
} // namespace kv
