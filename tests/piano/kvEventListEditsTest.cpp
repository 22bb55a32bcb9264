#include "piano/kvEventListEdits.h"

#include "piano/kvPianoRollTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace kv {
namespace {

using test::FindNote;

// Every event of the song, as the list's rows hold them.
std::vector<TKVMidiEvent*> Rows(const TKVMidiFile& song)
{
    std::vector<TKVMidiEvent*> rows;
    for (int t = 0; t < song.TrackCount(); ++t)
        for (int i = 0; i < song.GetTrack(t)->TrackEventCount(); ++i) rows.push_back(song.GetTrack(t)->GetEvent(i));
    return rows;
}

TEST(EventListEdits, DeleteTakesEachNoteWholeAndNamesEveryRowToDrop)
{
    struct Case {
        const char* what;
        std::vector<int> pitches; // notes selected by their note-on (+) or note-off (-)
        std::vector<int> left;    // pitches still in the song
    };
    const Case cases[] = {
        {"a note-on", {60}, {62, 64}},
        {"a note-off alone takes its note-on", {-62}, {60, 64}},
        {"a note-on and its own note-off", {64, -64}, {60, 62}},
        {"the note-off first", {-60, 60, 62}, {64}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto song = test::MakeRollSong(480, {{0, 60, 0, 480}, {1, 62, 480, 960}, {1, 64, 960, 1440}}, 2);
        const std::vector<TKVMidiEvent*> before = Rows(*song);
        std::vector<TKVMidiEvent*> selected;
        for (int p : c.pitches) {
            TKVMidiEvent* on = FindNote(*song, std::abs(p), (std::abs(p) - 60) * 240);
            ASSERT_NE(on, nullptr);
            selected.push_back(p > 0 ? on : on->RelatedEvent());
        }
        const std::vector<const TKVMidiEvent*> removed = DeleteListedEvents(*song, selected);
        // Every row whose event is gone is named, and no other.
        const std::vector<TKVMidiEvent*> after = Rows(*song);
        for (TKVMidiEvent* row : before) {
            const bool named = std::find(removed.begin(), removed.end(), row) != removed.end();
            const bool kept = std::find(after.begin(), after.end(), row) != after.end();
            EXPECT_NE(named, kept);
        }
        EXPECT_EQ(removed.size(), before.size() - after.size());
        std::vector<int> left;
        for (const TKVMidiEvent* e : after)
            if (e->EventType() == etOn) {
                left.push_back(e->Data1());
                EXPECT_NE(e->RelatedEvent(), nullptr) << "a note without its end";
            }
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, c.left);
    }
}

TEST(EventListEdits, EventsTheSongDoesNotHoldAreSkipped)
{
    auto song = test::MakeRollSong(480, {{0, 60, 0, 480}}, 1);
    TKVMidiEvent stray;
    EXPECT_TRUE(DeleteListedEvents(*song, {&stray, nullptr}).empty());
    EXPECT_EQ(Rows(*song).size(), 3u);
}

} // namespace
} // namespace kv
