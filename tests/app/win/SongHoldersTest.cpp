// One song in many windows: the event list, the editor and the roll edit the song while the roll
// shows it, the player plays it and the hands panel lists its tracks. Each window's next paint
// and the player's next tick read only live events, a saved song reads back in order with its
// times, every note sent is ended, and the hands panel shows the tracks that play as checked.
#include "app/win/EventListTestSupport.h"
#include "app/win/KorvanelWindowsFixture.h"
#include "app/win/WindowPixels.h"
#include "app/win/fEdit.h"
#include "app/win/fEvent.h"
#include "app/win/fMain.h"
#include "app/win/fOption.h"
#include "app/win/fRoll.h"
#include "gui/win/TApplication.h"
#include "midi/kvMidiApi.h"
#include "midi/kvMidiDevicesInstances.h"
#include "midi/kvMidiFakeApi.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <thread>
#include <tuple>
#include <vector>

namespace kv {
namespace {

using test::ListEvent;

struct Note {
    int track;
    int status; // the note-on's status: the channel is its low nibble
    int pitch;
    int start;
    int end;
};

class SongHolders : public test::KorvanelWindows {
protected:
    SongHolders() : KorvanelWindows({.FolderPrefix = "kv_holders_", .Midi = test::TFakeMidi::Synth}) {}
    void SetUp() override
    {
        KorvanelWindows::SetUp();
        main->Show();
        main->FormShow();
        main->MidiDevices1->OpenMidiOut(0);
        Pump();
    }
    // Writes a song of the notes (tracks 0 .. Tracks - 1, 480 pulses per quarter) and opens it.
    std::string Open(const std::string& Name, const std::vector<Note>& Notes, int Tracks)
    {
        TKVMidiFile made(nullptr);
        std::vector<std::unique_ptr<TMyMidiTrack>> tracks;
        for (int t = 0; t < Tracks; ++t) tracks.push_back(std::make_unique<TMyMidiTrack>());
        std::vector<int> ends(static_cast<std::size_t>(Tracks), 0);
        for (const Note& n : Notes) {
            // A controller marks the channel as one the track uses.
            tracks[static_cast<std::size_t>(n.track)]->AddEvent(ListEvent(0xB0 | (n.status & 0x0F), 7, 100, 0));
            tracks[static_cast<std::size_t>(n.track)]->AddEvent(ListEvent(n.status, n.pitch, 100, n.start),
                                                                ListEvent(0x80 | (n.status & 0x0F), n.pitch, 64, n.end));
            ends[static_cast<std::size_t>(n.track)] = std::max(ends[static_cast<std::size_t>(n.track)], n.end);
        }
        for (int t = 0; t < Tracks; ++t) {
            tracks[static_cast<std::size_t>(t)]->AddEvent(ListEvent(0xFF, 0x2F, 0, ends[static_cast<std::size_t>(t)]));
            tracks[static_cast<std::size_t>(t)]->UpdateDeltaTime();
            made.SetTrack(std::move(tracks[static_cast<std::size_t>(t)]));
        }
        made.CreateHeader(480, true);
        const std::string path = (folder / Name).string();
        made.SetFileName(path);
        made.WriteFile();
        main->OpenMidiFile(path);
        return path;
    }
    TKVMidiEvent* FindNote(int Pitch)
    {
        TKVMidiFile& song = *main->MidiFile1;
        for (int t = 0; t < song.TrackCount(); ++t)
            for (int i = 0; i < song.GetTrack(t)->TrackEventCount(); ++i) {
                TKVMidiEvent* e = song.GetTrack(t)->GetEvent(i);
                if (e->EventType() == etOn && e->Data1() == Pitch) return e;
            }
        return nullptr;
    }
    std::set<const TKVMidiEvent*> SongEvents()
    {
        std::set<const TKVMidiEvent*> events;
        TKVMidiFile& song = *main->MidiFile1;
        for (int t = 0; t < song.TrackCount(); ++t)
            for (int i = 0; i < song.GetTrack(t)->TrackEventCount(); ++i) events.insert(song.GetTrack(t)->GetEvent(i));
        return events;
    }
    // What the roll holds is the song's: its list (with the track holding each event), its lit and
    // selected notes.
    void ExpectTheRollHoldsOnlyTheSongsEvents()
    {
        const std::set<const TKVMidiEvent*> live = SongEvents();
        TKVPianoRoll& r = *roll->PianoRoll1;
        EXPECT_EQ(r.MidiEventList().size(), live.size());
        for (const auto& entry : r.MidiEventList()) {
            EXPECT_EQ(live.count(entry.Event), 1u);
            const TMyMidiTrack* track = main->MidiFile1->GetTrack(entry.TrackIndex);
            bool held = false;
            for (int i = 0; track && i < track->TrackEventCount() && !held; ++i) held = track->GetEvent(i) == entry.Event;
            EXPECT_TRUE(held) << "the roll lists an event under a track that does not hold it";
        }
        for (TKVMidiEvent* e : r.LitNotes()) EXPECT_EQ(live.count(e), 1u);
        for (TKVMidiEvent* e : r.SelectedNotes()) EXPECT_EQ(live.count(e), 1u);
    }
    // The roll paints now, and the player ticks at least once more.
    void PaintAndTick()
    {
        roll->PianoRoll1->Invalidate();
        UpdateWindow(roll->PianoRoll1->Handle());
        const double before = main->MidiPlayer1->CurrentTime();
        if (main->MidiPlayer1->Status() == stPlaying) {
            EXPECT_TRUE(PumpUntil([&] { return main->MidiPlayer1->CurrentTime() > before; }));
        }
        Pump();
    }
    // Every note-on the output received is ended by a note-off or an all-notes-off on its
    // channel, but for the note Playing, which sounds once.
    void ExpectNothingLeftSounding(int Playing = -1)
    {
        std::map<std::pair<int, int>, int> sounding;
        for (std::uint32_t m : fake->ShortsSent(0)) {
            const int status = static_cast<int>(m & 0xF0), channel = static_cast<int>(m & 0x0F);
            const int data1 = static_cast<int>((m >> 8) & 0x7F), data2 = static_cast<int>((m >> 16) & 0x7F);
            if (status == 0x90 && data2 > 0) ++sounding[{channel, data1}];
            else if (status == 0x80 || status == 0x90) sounding[{channel, data1}] = std::max(0, sounding[{channel, data1}] - 1);
            else if (status == 0xB0 && (data1 == 123 || data1 == 120))
                for (auto& [key, count] : sounding)
                    if (key.first == channel) count = 0;
        }
        for (const auto& [key, count] : sounding)
            EXPECT_EQ(count, key.second == Playing ? 1 : 0) << "channel " << key.first << ", note " << key.second;
    }
    int NoteOnsSent(int Pitch)
    {
        int count = 0;
        for (std::uint32_t m : fake->ShortsSent(0))
            count += (m & 0xF0) == 0x90 && static_cast<int>((m >> 8) & 0x7F) == Pitch && ((m >> 16) & 0x7F) > 0;
        return count;
    }
    void ShowEventList()
    {
        main->actMidiEvent->Execute();
        ASSERT_NE(frmEvent, nullptr);
        test::WaitForTheFillAfterShowing(*frmEvent);
    }
    int RowOf(const TKVMidiEvent* Event)
    {
        for (int r = 0; r < frmEvent->RowCount(); ++r)
            if (frmEvent->GetMidiEvent(r) == Event) return r;
        return -1;
    }
    void SelectOnly(int Row)
    {
        for (int r = 0; r < frmEvent->RowCount(); ++r) frmEvent->ListView1->SetSelected(r, r == Row);
    }
};

TEST_F(SongHolders, TheListDeletesNotesTheRollLightsWhileThePlayerPlaysThem)
{
    // Three notes sound for ten seconds; the list deletes one by its note-on row and one by its
    // note-off row while the roll lights them and the player has sent them.
    Open("list_delete.mid", {{1, 0x90, 60, 0, 9600}, {1, 0x90, 62, 0, 9600}, {1, 0x90, 64, 0, 9600}}, 2);
    roll->Show();
    ShowEventList();
    fake->ClearLog();
    main->actPlay->Execute();
    ASSERT_TRUE(PumpUntil([&] { return NoteOnsSent(60) == 1 && NoteOnsSent(62) == 1 && NoteOnsSent(64) == 1; }));
    PaintAndTick();
    ASSERT_EQ(roll->PianoRoll1->LitNotes().size(), 3u);

    SelectOnly(RowOf(FindNote(60)));
    test::Press(frmEvent->Button3);
    SelectOnly(RowOf(FindNote(62)->RelatedEvent()));
    test::Press(frmEvent->Button3);
    EXPECT_EQ(FindNote(60), nullptr);
    EXPECT_EQ(FindNote(62), nullptr);
    ExpectTheRollHoldsOnlyTheSongsEvents();
    // The player ended the two notes it had sent; the third plays on.
    ExpectNothingLeftSounding(64);
    PaintAndTick();
    ExpectTheRollHoldsOnlyTheSongsEvents();
    EXPECT_EQ(roll->PianoRoll1->LitNotes(), std::vector<TKVMidiEvent*>{FindNote(64)});
    EXPECT_EQ(frmEvent->RowCount(), static_cast<int>(SongEvents().size()));
    EXPECT_TRUE(errors.empty());
}

TEST_F(SongHolders, AnEditorMoveIsFollowedByTheRollAndTheSavedSongReadsBackInOrder)
{
    const std::string path = Open("editor_move.mid", {{1, 0x90, 60, 0, 480}, {1, 0x90, 62, 480, 960}, {2, 0x91, 64, 0, 480}, {2, 0x91, 65, 960, 1440}}, 3);
    roll->Show();
    ShowEventList();
    TKVMidiEvent* note = FindNote(64);
    SelectOnly(RowOf(note));
    // The editor, opened from the list, moves the note to the second track and later.
    test::RunInMessageLoop([&] {
        ASSERT_NE(frmEdit, nullptr);
        frmEdit->SpinEdit1->SetValue(2);
        frmEdit->Edit5->SetText("1920");
        test::Press(frmEdit->Button1);
    });
    test::Press(frmEvent->Button2);
    ASSERT_EQ(frmEdit, nullptr);
    ASSERT_EQ(note->StartTime(), 1920);
    ExpectTheRollHoldsOnlyTheSongsEvents();
    PaintAndTick();
    bool drawn = false;
    for (const TKVRollNote& shown : roll->PianoRoll1->VisibleNotes()) drawn = drawn || shown.On == note;
    EXPECT_TRUE(drawn) << "the note moved into view is drawn";
    test::SaveScreenshot(test::CaptureClient(roll->Handle()), "roll_after_editor_move");

    // The roll drags it a quarter note earlier, then the list deletes another note of its track.
    roll->PianoRoll1->MoveNote(note, mtPosition, roll->PianoRoll1->TicksToPixels(-480), 0);
    EXPECT_EQ(note->StartTime(), 1440);
    frmEvent->LoadEventList();
    SelectOnly(RowOf(FindNote(62)));
    test::Press(frmEvent->Button3);
    ExpectTheRollHoldsOnlyTheSongsEvents();
    main->actSave->Execute();

    TKVMidiFile read(nullptr);
    read.SetFileName(path);
    read.ReadFile();
    std::vector<std::tuple<int, int, int, int>> notes;
    for (int t = 0; t < read.TrackCount(); ++t) {
        std::int32_t time = 0;
        for (int i = 0; i < read.GetTrack(t)->TrackEventCount(); ++i) {
            const TKVMidiEvent* e = read.GetTrack(t)->GetEvent(i);
            EXPECT_GE(e->StartTime(), time) << "track " << t << " in time order";
            time = e->StartTime();
            if (e->EventType() == etOn && e->RelatedEvent()) notes.emplace_back(t, e->Data1(), e->StartTime(), e->RelatedEvent()->StartTime());
        }
    }
    EXPECT_EQ(notes, (std::vector<std::tuple<int, int, int, int>>{{1, 60, 0, 480}, {1, 64, 1440, 1920}, {2, 65, 960, 1440}}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(SongHolders, EditsInTheRollWhileThePlayerWalksTheTrackSkipNothingAndLeaveNothingSounding)
{
    // Track 1: a long note, then a run of short ones; the roll deletes the long note while it
    // sounds and moves a note already played to later while the player walks the track.
    std::vector<Note> notes{{1, 0x90, 50, 0, 2400}, {1, 0x90, 52, 0, 120}};
    for (int i = 0; i < 16; ++i) notes.push_back({1, 0x90, 60 + i, 480 + 120 * i, 540 + 120 * i});
    Open("roll_edit.mid", notes, 2);
    roll->Show();
    fake->ClearLog();
    main->actPlay->Execute();
    ASSERT_TRUE(PumpUntil([&] { return main->MidiPlayer1->CurrentTime() > 300; }));
    roll->PianoRoll1->DeleteNote(FindNote(50));
    roll->PianoRoll1->MoveNote(FindNote(52), mtPosition, roll->PianoRoll1->TicksToPixels(1800), 0);
    ExpectTheRollHoldsOnlyTheSongsEvents();
    ASSERT_TRUE(PumpUntil([&] { return main->MidiPlayer1->Status() == stStop; }));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(NoteOnsSent(60 + i), 1) << 60 + i;
    EXPECT_EQ(NoteOnsSent(52), 2) << "played, then again where it was moved";
    ExpectNothingLeftSounding();
    EXPECT_TRUE(errors.empty());
}

TEST_F(SongHolders, TheTracksOfEachSongOpenedShowCheckedWhileTheyPlay)
{
    for (const char* name : {"first.mid", "second.mid", "third.mid"}) {
        SCOPED_TRACE(name);
        Open(name, {{0, 0x90, 60, 0, 480}, {1, 0x91, 62, 0, 480}, {2, 0x95, 64, 0, 480}}, 3);
        TKVPianoTracks& hands = *options->PianoTracks1;
        int listed = 0;
        for (const TKVTrackHand hand : {thLeft, thRight}) {
            const TCheckListBox& list = *hands.List(hand);
            ASSERT_EQ(list.Count(), static_cast<int>(hands.Items(hand).size()));
            for (int i = 0; i < list.Count(); ++i, ++listed) {
                const TMyMidiTrack& track = *hands.Items(hand)[static_cast<std::size_t>(i)].Track;
                EXPECT_TRUE(track.Active()) << list.Items(i);
                EXPECT_EQ(list.Checked(i), track.Active()) << list.Items(i);
            }
        }
        EXPECT_EQ(listed, 3);
    }
    options->Show();
    Pump();
    test::SaveScreenshot(test::CaptureClient(options->Handle()), "hands_of_the_third_song");
}

} // namespace
} // namespace kv
