// The song's watchers: who hears of a change, in which order, and when a song is read or reset.
#include "midi/kvMidiSongWatchers.h"

#include "base/TMemoryStream.h"
#include "midi/kvMidiFile.h"
#include "midi/kvMidiPlayerTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kv {
namespace {

TEST(MidiSongWatchers, EveryWatcherHearsInOrderAndOneThatStoppedHearsNothing)
{
    TKVSongWatchers watchers;
    std::vector<std::string> heard;
    TKVSongWatch second;
    TKVSongWatch first = watchers.Watch([&](const TKVSongEdit&) {
        heard.push_back("first");
        // A watcher may end another's watch while it is told: that one is not told any more.
        second.Reset();
    });
    second = watchers.Watch([&](const TKVSongEdit&) { heard.push_back("second"); });
    TKVSongWatch third = watchers.Watch([&](const TKVSongEdit&) { heard.push_back("third"); });
    watchers.EventsChanged(nullptr);
    EXPECT_EQ(heard, (std::vector<std::string>{"first", "third"}));
    EXPECT_EQ(watchers.Count(), 2u);

    // A watch moved keeps hearing; one that outlives the watchers ends quietly.
    TKVSongWatch moved = std::move(third);
    heard.clear();
    watchers.TracksReplaced(nullptr);
    EXPECT_EQ(heard, (std::vector<std::string>{"first", "third"}));
    auto gone = std::make_unique<TKVSongWatchers>();
    TKVSongWatch outliving = gone->Watch([](const TKVSongEdit&) {});
    gone.reset();
    outliving.Reset();
}

TEST(MidiSongWatchers, EventsFreeingNamesTheEventsAndTracksFreeingAllOfThem)
{
    TKVMidiEvent a, b, c;
    const std::vector<const TKVMidiEvent*> freed{&a, &b};
    const TKVSongEdit events{scEventsFreeing, nullptr, &freed};
    EXPECT_TRUE(events.Frees(&a));
    EXPECT_FALSE(events.Frees(&c));
    EXPECT_FALSE(events.Frees(nullptr));
    EXPECT_TRUE((TKVSongEdit{scTracksFreeing, nullptr, nullptr}.Frees(&c)));
    EXPECT_FALSE((TKVSongEdit{scEventsChanged, nullptr, nullptr}.Frees(&a)));
}

TEST(MidiSongWatchers, ReadingAndResettingASongAreHeardBeforeTheFreeAndAfter)
{
    TKVMidiFile made(nullptr);
    test::SetPulses(made, 480);
    std::vector<test::Timed> events;
    events.push_back({0, test::NoteOn(60, 0)});
    events.push_back({480, test::NoteOff(60, 0)});
    events.push_back({480, test::EndOfTrack()});
    test::AddTrack(made, std::move(events));
    made.CreateHeader(480, true);
    TMemoryStream bytes;
    made.WriteFile(bytes);

    TKVMidiFile song(nullptr);
    std::vector<std::string> heard;
    const TKVSongWatch watch = song.Watchers().Watch([&](const TKVSongEdit& e) {
        heard.push_back(std::to_string(e.Change) + ":" + std::to_string(song.TrackCount()));
        EXPECT_EQ(e.Source, &song);
    });
    song.ReadFile(bytes);
    song.ReadFile(bytes);
    EXPECT_EQ(heard, (std::vector<std::string>{"2:0", "3:1", "2:1", "3:1"}));
    heard.clear();
    song.ResetFile();
    EXPECT_EQ(heard, (std::vector<std::string>{"2:1", "3:0"}));

    // A file that fails half-way: the holders still hear that the song holds other tracks now.
    heard.clear();
    TMemoryStream broken;
    broken.Write("MThd", 4);
    EXPECT_ANY_THROW(song.ReadFile(broken));
    EXPECT_EQ(heard, (std::vector<std::string>{"2:0", "3:0"}));
}

} // namespace
} // namespace kv
