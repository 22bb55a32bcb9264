#include "piano/kvPianoTracksCore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kv {
namespace {

// A song of Count tracks, track i named "T<i>", with TrackIndex i, as a read song has them.
class PianoTracksCore : public ::testing::Test {
protected:
    void MakeSong(int Count)
    {
        for (int i = 0; i < Count; ++i) {
            auto track = std::make_unique<TMyMidiTrack>();
            track->SetTrackIndex(i);
            track->SetTrackName("T" + std::to_string(i));
            song.SetTrack(std::move(track));
        }
        panel.SetMidiFile(&song);
    }
    std::vector<std::string> Texts(TKVTrackHand Hand) const
    {
        std::vector<std::string> texts;
        for (const TKVTrackItem& item : panel.Items(Hand)) texts.push_back(item.Text);
        return texts;
    }
    // The application's filling after a read: every track in song order, under its own hand.
    void FillAll()
    {
        panel.ClearTracks();
        for (int i = 0; i < song.TrackCount(); ++i) panel.AddTrack(song.GetTrack(i));
    }

    TKVMidiFile song{nullptr};
    TKVPianoTracksCore panel;
};

TEST_F(PianoTracksCore, AddTrackListsUnderItsHandWithTextCheckAndColour)
{
    TMyMidiTrack bass;
    bass.SetTrackIndex(3);
    bass.SetTrackName("Bass");
    bass.SetTrackHand(thRight);
    bass.SetActive(false);
    panel.AddTrack(&bass);

    ASSERT_EQ(panel.Items(thRight).size(), 1u);
    EXPECT_TRUE(panel.Items(thLeft).empty());
    const TKVTrackItem& item = panel.Items(thRight)[0];
    EXPECT_EQ(item.Text, "[03] Bass");
    EXPECT_EQ(item.Track, &bass);
    EXPECT_FALSE(item.Checked);
    EXPECT_EQ(bass.TrackColor(), HandColorRDefault);
    EXPECT_EQ(panel.CaptionL(), "Left");
    EXPECT_EQ(panel.CaptionR(), "Right");
    EXPECT_EQ(panel.HandColorL(), 11844998);
    EXPECT_EQ(panel.HandColorR(), 10458846);
}

TEST_F(PianoTracksCore, ItemTextShowsTheWholeIndex)
{
    struct Case { int index; std::string name; std::string text; };
    for (const Case& c : {Case{1, "Piano", "[01] Piano"}, Case{0, "", "[00] "}, Case{123, "Strings", "[123] Strings"},
                          Case{70000, "Far", "[70000] Far"},
                          // Names are kept in the code page (Windows-1252 here), shown in UTF-8.
                          Case{2, "\xDC" "bung", "[02] \xC3\x9C" "bung"}}) {
        TMyMidiTrack track;
        track.SetTrackIndex(c.index);
        track.SetTrackName(c.name);
        EXPECT_EQ(TrackItemText(track), c.text) << c.index;
    }
}

TEST_F(PianoTracksCore, PositionsOutsideTheSongAreIgnored)
{
    MakeSong(5);
    FillAll();
    song.GetTrack(4)->SetActive(false);
    for (int outside : {5, 255, 256, -1}) {
        panel.SetTrackHand(outside, thRight);
        panel.SetTrackActive(outside, false);
        EXPECT_EQ(panel.GetTrackHand(outside), thLeft) << outside;
        EXPECT_TRUE(panel.GetTrackActive(outside)) << outside;
    }
    EXPECT_EQ(panel.Items(thLeft).size(), 5u);
    EXPECT_TRUE(panel.Items(thRight).empty());
    EXPECT_FALSE(panel.GetTrackActive(4));

    TKVPianoTracksCore unbound; // no song assigned
    unbound.SetTrackActive(0, false);
    EXPECT_TRUE(unbound.GetTrackActive(0));
}

TEST_F(PianoTracksCore, TrackPositionsBeyondAByteReachTheirTrack)
{
    MakeSong(300);
    panel.SetTrackActive(44, false); // 300 cut to a byte would be 44
    panel.SetTrackActive(300 - 1, false);
    EXPECT_FALSE(panel.GetTrackActive(299));
    EXPECT_FALSE(panel.GetTrackActive(44));
    EXPECT_TRUE(panel.GetTrackActive(43));
    panel.SetTrackActive(44, true);

    panel.SetTrackHand(299, thRight);
    EXPECT_EQ(panel.GetTrackHand(299), thRight);
    EXPECT_EQ(panel.GetTrackHand(43), thLeft);
    EXPECT_TRUE(panel.GetTrackActive(44));
}

TEST_F(PianoTracksCore, SetTrackHandMovesToTheEndOfTheOtherListAndRecolours)
{
    MakeSong(3);
    FillAll();
    panel.SetTrackHand(1, thRight);
    panel.SetTrackHand(0, thRight);
    EXPECT_EQ(Texts(thLeft), (std::vector<std::string>{"[02] T2"}));
    EXPECT_EQ(Texts(thRight), (std::vector<std::string>{"[01] T1", "[00] T0"}));
    EXPECT_EQ(song.GetTrack(0)->TrackColor(), HandColorRDefault);
    EXPECT_EQ(song.GetTrack(2)->TrackColor(), HandColorLDefault);

    panel.SetTrackHand(1, thRight); // same hand: to the end of the same list
    EXPECT_EQ(Texts(thRight), (std::vector<std::string>{"[00] T0", "[01] T1"}));
}

TEST_F(PianoTracksCore, HandColourRecoloursOnlyThatHandsTracks)
{
    MakeSong(3);
    song.GetTrack(1)->SetTrackHand(thRight);
    FillAll();
    panel.SetHandColorL(clRed);
    EXPECT_EQ(song.GetTrack(0)->TrackColor(), clRed);
    EXPECT_EQ(song.GetTrack(2)->TrackColor(), clRed);
    EXPECT_EQ(song.GetTrack(1)->TrackColor(), HandColorRDefault);
    panel.SetHandColorR(clBlue);
    EXPECT_EQ(song.GetTrack(1)->TrackColor(), clBlue);
    EXPECT_EQ(song.GetTrack(0)->TrackColor(), clRed);
}

TEST_F(PianoTracksCore, DelTrackAndClearTracksLeaveTheTracksAlone)
{
    MakeSong(3);
    FillAll();
    TMyMidiTrack stranger;
    panel.DelTrack(&stranger);
    panel.DelTrack(nullptr);
    EXPECT_EQ(panel.Items(thLeft).size(), 3u);

    panel.DelTrack(song.GetTrack(1));
    EXPECT_EQ(Texts(thLeft), (std::vector<std::string>{"[00] T0", "[02] T2"}));
    song.GetTrack(0)->SetTrackHand(thRight); // changed elsewhere: its item is not in the right list
    panel.DelTrack(song.GetTrack(0));
    EXPECT_EQ(panel.Items(thLeft).size(), 2u);

    panel.ClearTracks();
    EXPECT_TRUE(panel.Items(thLeft).empty());
    EXPECT_TRUE(panel.Items(thRight).empty());
    EXPECT_EQ(song.TrackCount(), 3);
    EXPECT_EQ(song.GetTrack(0)->TrackHand(), thRight);
}

// The item hit is toggled, whatever the list's selection, and its own track changes.
TEST_F(PianoTracksCore, TogglingAnItemSwitchesItsOwnTrack)
{
    MakeSong(4);
    song.GetTrack(1)->SetTrackHand(thRight);
    song.GetTrack(3)->SetTrackHand(thRight);
    FillAll();
    std::vector<TObject*> senders;
    panel.OnTrackClick = [&](TObject* Sender) {
        senders.push_back(Sender);
        EXPECT_FALSE(song.GetTrack(3)->Active()); // already switched when the event comes
    };

    panel.ToggleItem(thRight, 1); // [03] T3
    EXPECT_FALSE(song.GetTrack(3)->Active());
    EXPECT_FALSE(panel.Items(thRight)[1].Checked);
    for (int i : {0, 1, 2}) EXPECT_TRUE(song.GetTrack(i)->Active()) << i;
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_NE(senders[0], nullptr);

    panel.ToggleItem(thRight, 2);
    panel.ToggleItem(thLeft, -1);
    EXPECT_EQ(senders.size(), 1u);

    panel.OnTrackClick = nullptr;
    panel.ToggleItem(thRight, 1);
    EXPECT_TRUE(song.GetTrack(3)->Active());
    EXPECT_TRUE(panel.Items(thRight)[1].Checked);
}

// A track whose TrackIndex is not its position (a song built by hand) is still the one toggled.
TEST_F(PianoTracksCore, TogglingDoesNotLookTheTrackUpByItsIndex)
{
    MakeSong(2);
    song.GetTrack(1)->SetTrackIndex(0);
    panel.AddTrack(song.GetTrack(1));
    panel.ToggleItem(thLeft, 0);
    EXPECT_FALSE(song.GetTrack(1)->Active());
    EXPECT_TRUE(song.GetTrack(0)->Active());
}

class DragSources : public TKVPianoTracksCore {
public:
    TObject left;
    TObject right;

protected:
    TObject* TrackList(TKVTrackHand Hand) const override
    {
        return Hand == thLeft ? const_cast<TObject*>(&left) : const_cast<TObject*>(&right);
    }
};

TEST_F(PianoTracksCore, DragsAreTakenOnlyFromThePanelsOwnLists)
{
    MakeSong(3);
    DragSources drag;
    drag.SetMidiFile(&song);
    for (int i = 0; i < 3; ++i) drag.AddTrack(song.GetTrack(i));
    TObject foreign;
    EXPECT_TRUE(drag.AcceptsDrag(&drag.left));
    EXPECT_TRUE(drag.AcceptsDrag(&drag.right));
    EXPECT_FALSE(drag.AcceptsDrag(&foreign));
    EXPECT_FALSE(drag.AcceptsDrag(nullptr));

    drag.DropItem(thRight, &foreign, 0);
    drag.DropItem(thRight, nullptr, 0);
    EXPECT_EQ(drag.Items(thLeft).size(), 3u);
    EXPECT_TRUE(drag.Items(thRight).empty());

    drag.DropItem(thRight, &drag.left, -1); // nothing selected
    drag.DropItem(thRight, &drag.left, 3);
    EXPECT_TRUE(drag.Items(thRight).empty());

    drag.DropItem(thRight, &drag.left, 1);
    ASSERT_EQ(drag.Items(thRight).size(), 1u);
    EXPECT_EQ(drag.Items(thRight)[0].Track, song.GetTrack(1));
    EXPECT_EQ(song.GetTrack(1)->TrackHand(), thRight);
    EXPECT_EQ(song.GetTrack(1)->TrackColor(), HandColorRDefault);

    drag.DropItem(thLeft, &drag.left, 0); // onto its own list: to the end of it
    ASSERT_EQ(drag.Items(thLeft).size(), 2u);
    EXPECT_EQ(drag.Items(thLeft)[1].Track, song.GetTrack(0));
}

// The item dragged is the one moved, even when its track's hand was changed behind the panel.
TEST_F(PianoTracksCore, DropMovesTheDraggedItemNotACopy)
{
    MakeSong(2);
    DragSources drag;
    drag.SetMidiFile(&song);
    drag.AddTrack(song.GetTrack(0));
    song.GetTrack(0)->SetTrackHand(thRight);
    drag.DropItem(thRight, &drag.left, 0);
    EXPECT_TRUE(drag.Items(thLeft).empty());
    EXPECT_EQ(drag.Items(thRight).size(), 1u);
}

// Cleared before the song frees its tracks, as the song's readers do, the panel holds nothing
// that points at them (AddressSanitizer watches the rest).
TEST_F(PianoTracksCore, ClearedBeforeTheSongsTracksGo)
{
    MakeSong(3);
    FillAll();
    panel.ClearTracks();
    song.ResetFile();
    panel.ToggleItem(thLeft, 0);
    panel.SetHandColorL(clRed);
    EXPECT_TRUE(panel.Items(thLeft).empty());
    EXPECT_TRUE(panel.GetTrackActive(0));
}

TEST_F(PianoTracksCore, ChecksFollowTheTracksSwitchedAndTheListsEmptyBeforeTheSongFreesThem)
{
    // Filling after a read, while the channel boxes switch the tracks off and on again: a track
    // listed while off and switched on later shows checked.
    MakeSong(3);
    panel.ClearTracks();
    song.GetTrack(1)->SetActive(false);
    for (int i = 0; i < song.TrackCount(); ++i) panel.AddTrack(song.GetTrack(i));
    ASSERT_FALSE(panel.Items(thLeft)[1].Checked);
    panel.SetTrackActive(1, true);
    panel.SetTrackActive(2, false);
    for (int i = 0; i < song.TrackCount(); ++i)
        EXPECT_EQ(panel.Items(thLeft)[static_cast<std::size_t>(i)].Checked, song.GetTrack(i)->Active()) << i;

    // Reading a song frees the tracks listed: the lists are empty before.
    std::size_t listedWhenFreed = 99;
    const TKVSongWatch watch = song.Watchers().Watch([&](const TKVSongEdit& e) {
        if (e.Change == scTracksFreeing) listedWhenFreed = panel.Items(thLeft).size() + panel.Items(thRight).size();
    });
    song.ResetFile();
    EXPECT_EQ(listedWhenFreed, 0u);
}

} // namespace
} // namespace kv
