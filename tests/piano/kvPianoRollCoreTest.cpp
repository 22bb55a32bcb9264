#include "piano/kvPianoRollCore.h"

#include "base/TMemoryStream.h"
#include "piano/kvEventEditor.h"
#include "piano/kvEventListEdits.h"
#include "piano/kvPianoRollTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace kv {
namespace {

using test::FindNote;
using test::MakeRollSong;
using test::RollNote;

// A roll without a window: every handler is followed by the paint the window would make, and
// every MIDI event it reports is logged.
class RollRig : public TKVPianoRollCore {
public:
    RollRig()
    {
        OnMidiEvent = [this](TKVMidiEvent* e) {
            sound.Take(e);
            reported.push_back({e->Event(), e->Data1()});
        };
        OnSelectionChange = [this](std::int32_t count, TKVMidiEvent* e) { selectionChanges.push_back({count, e}); };
    }
    test::SoundLog sound;
    std::vector<std::pair<int, int>> reported; // status, pitch
    std::vector<std::pair<int, TKVMidiEvent*>> selectionChanges;
    int confines = 0, frees = 0;
    bool confined = false;

    void Move(int x, int y)
    {
        PaintBoxMouseMove(0, x, y);
        PaintPass();
    }
    void Press(int x, int y, TMouseButton b = mbLeft)
    {
        PaintBoxMouseDown(b, 0, x, y);
        PaintPass();
    }
    void Release(int x, int y, TMouseButton b = mbLeft)
    {
        PaintBoxMouseUp(b, 0, x, y);
        PaintPass();
    }
    // Hover, press, drag and release, a paint after each step.
    void Drag(int x1, int y1, int x2, int y2)
    {
        Move(x1, y1);
        Press(x1, y1);
        Move(x2, y2);
        Release(x2, y2);
    }

protected:
    void ConfineAndCapture(const TRect&) override { ++confines; confined = true; }
    void FreeAndRelease() override { ++frees; confined = false; }
};

// 480 ticks per quarter note, 64 pixels per quarter note, rows 8 pixels apart; the highest
// note 66 puts row 65 at the top.
class PianoRollCore : public ::testing::Test {
protected:
    void Show(std::vector<RollNote> notes, int tracks = 3)
    {
        notes.push_back({0, 66, 0, 240});
        song = MakeRollSong(480, notes, tracks);
        roll.SetMidiFile(song.get());
    }
    // The middle of a note's bar.
    TPoint On(TKVMidiEvent* note)
    {
        const TRect r = roll.GetNoteRect(note);
        return {static_cast<std::int32_t>((std::int64_t{r.Left} + r.Right) / 2), (r.Top + r.Bottom) / 2};
    }
    std::unique_ptr<TKVMidiFile> song;
    RollRig roll;
};

TEST(PianoRollConversions, RoundHalvesToEvenInBothDirections)
{
    struct Case {
        int ppq, width;
        std::int64_t value;
        int ticks, pixels;
    };
    const Case cases[] = {
        {480, 64, 64, 480, 9},   // 64 px = a quarter note; 64 ticks = 8.53 px
        {480, 64, 1, 8, 0},      // 7.5 -> 8 ; 0.1333 -> 0
        {480, 64, 3, 22, 0},     // 22.5 -> 22 (even)
        {480, 64, 5, 38, 1},     // 37.5 -> 38 (even) ; 0.667 -> 1
        {480, 64, 240, 1800, 32},
        {480, 64, -3, -22, 0},   // -22.5 -> -22
        {96, 64, 1, 2, 1},       // 1.5 -> 2 ; 0.667 -> 1
        {128, 64, 3, 6, 2},      // 6 ; 1.5 -> 2
        {128, 64, 5, 10, 2},     // 10 ; 2.5 -> 2 (even)
        {96, 64, 3, 4, 2},       // 4.5 -> 4 ; 2
        {96, 64, 6, 9, 4},       // 9 ; 4
        {3, 2, 1, 2, 1},         // 1.5 -> 2 ; 0.667 -> 1
        {2, 4, 3, 2, 6},         // 1.5 -> 2 ; 6
        {2, 4, 1, 0, 2},         // 0.5 -> 0 ; 2
        {0, 64, 100, 0, 0},      // no song: nothing divides by zero
        {480, 0, 100, 0, 0},
        {1, 256, std::int64_t{1} << 40, 2147483647, 2147483647}, // saturated, never wrapped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.ppq << "/" << c.width << " of " << c.value);
        EXPECT_EQ(RollPixelsToTicks(c.ppq, c.width, c.value), c.ticks);
        EXPECT_EQ(RollTicksToPixels(c.ppq, c.width, c.value), c.pixels);
    }
}

TEST(PianoRollGeometryTest, AreasLanesAndPointerPositions)
{
    TKVPianoRollGeometry g;
    g.Width = 483;
    g.Height = 283;
    g.PulsesPerQuarter = 480;
    g.VertPosition = 65;
    EXPECT_EQ(g.KeyColumnRect(), Rect(0, 0, 61, 282));
    EXPECT_EQ(g.RulerRect(), Rect(62, 0, 482, 22));
    EXPECT_EQ(g.NotesRect(), Rect(62, 21, 482, 264));
    EXPECT_EQ(g.InfoRect(), Rect(62, 264, 482, 282));
    EXPECT_EQ(g.PaintBoxRect(), Rect(0, -1, 483, 283));
    // Pitch 60 is row 71: its lane covers pixel rows 69..76, its bar 70..75.
    EXPECT_EQ(g.RowRect(false, 71), Rect(62, 69, 482, 77));
    EXPECT_EQ(g.NoteRect(0, 480, 60), Rect(62, 70, 126, 76));
    EXPECT_EQ(g.RowRect(true, 71), Rect(0, 69, 61, 77));
    // Rows shown: the notes area holds 243 / 8 = 30 lanes, the key column 282 / 8 = 35.
    EXPECT_EQ(g.LastVisibleRow(false), 94);
    EXPECT_EQ(g.LastVisibleRow(true), 99);
    g.VertPosition = 120;
    EXPECT_EQ(g.LastVisibleRow(false), 131);

    g.VertPosition = 65;
    EXPECT_EQ(g.RowOfY(21), 65); // the shared top pixel row
    EXPECT_EQ(g.RowOfY(29), 65); // the top pixel row of a lane belongs to the lane above
    EXPECT_EQ(g.RowOfY(30), 66);
    EXPECT_EQ(g.PitchOfY(70), 60);
    // A click counts from the key column's edge, a note from the notes area's: the cursor at a
    // note's start tick stands one pixel left of it.
    EXPECT_EQ(g.TimeOfX(189), 960);
    EXPECT_EQ(g.CursorX(960), 189);
    EXPECT_EQ(g.TickX(960), 190);
    g.HorzPosition = 2;
    EXPECT_EQ(g.TimeOfX(61), 960);
    EXPECT_EQ(g.NoteRect(960, 1440, 60).Left, 62);
}

// What the roll shows, found by looking at every event of its list: the notes whose ticks meet
// the notes area's, in list order, with their bars.
std::vector<std::pair<TKVMidiEvent*, TRect>> ScanVisible(const TKVPianoRollCore& roll)
{
    std::vector<std::pair<TKVMidiEvent*, TRect>> found;
    const TKVPianoRollGeometry g = roll.Geometry();
    if (IsRectEmpty(g.NotesRect())) return found;
    const std::int64_t first = g.StartTicks(), last = first + g.VisibleTicks();
    for (const auto& entry : roll.MidiEventList()) {
        TKVMidiEvent* on = entry.Event;
        if ((on->EventType() != etOn || on->RelatedEvent() == nullptr)) continue;
        if (on->StartTime() <= last && on->RelatedEvent()->StartTime() >= first)
            found.push_back({on, g.NoteRect(on->StartTime(), on->RelatedEvent()->StartTime(), on->Data1())});
    }
    return found;
}

std::vector<std::pair<TKVMidiEvent*, TRect>> Shown(const TKVPianoRollCore& roll)
{
    std::vector<std::pair<TKVMidiEvent*, TRect>> shown;
    for (const TKVRollNote& note : roll.VisibleNotes()) shown.push_back({note.On, note.Rect});
    return shown;
}

TEST_F(PianoRollCore, VisibleNotesAreTheOnesAScanOfTheWholeSongFinds)
{
    // Two tracks of notes a 16th apart and of many lengths, and one note held from the start.
    std::vector<RollNote> notes{{0, 40, 0, 96000}};
    for (int i = 0; i < 400; ++i) notes.push_back({1 + i % 2, 50 + i % 20, 120 * i, 120 * i + (i % 5) * 200});
    song = MakeRollSong(480, notes, 3);
    roll.SetMidiFile(song.get());

    struct Window {
        int width, quarterWidth, position;
    };
    const Window windows[] = {{483, 64, 0}, {483, 64, 7}, {1000, 16, 30}, {200, 256, 99}, {62, 64, 3}, {2000, 16, 200}};
    const auto checkEveryWindow = [&](const char* after) {
        SCOPED_TRACE(after);
        for (const Window& w : windows) {
            roll.SetPaintBoxSize(w.width, 283);
            roll.SetQuarterNoteWidth(w.quarterWidth);
            roll.UpdateScrollRanges();
            roll.SetHorzPosition(w.position);
            EXPECT_EQ(Shown(roll), ScanVisible(roll)) << w.width << " " << w.quarterWidth << " " << w.position;
        }
    };
    checkEveryWindow("reading");

    // Edits that bring notes into windows they were not in, and take them out.
    roll.SetPaintBoxSize(483, 283);
    roll.SetQuarterNoteWidth(64);
    roll.UpdateScrollRanges();
    roll.SetHorzPosition(0);
    ASSERT_EQ(roll.HorzPosition(), 0);
    TKVMidiEvent* late = FindNote(*song, 50 + 399 % 20, 120 * 399);
    TKVMidiEvent* early = FindNote(*song, 50, 0);
    ASSERT_NE(late, nullptr);
    ASSERT_NE(early, nullptr);
    roll.MoveNote(late, mtPosition, -6384, 0); // 7.5 ticks a pixel: from the end to the start
    EXPECT_EQ(late->StartTime(), 0);
    checkEveryWindow("moving");
    roll.MoveNote(early, mtLength, 8000, 0);   // now reaching far
    EXPECT_GT(early->RelatedEvent()->StartTime(), 50000);
    checkEveryWindow("stretching");
    roll.InsertNote(1, 0, 62 + 64 * 3, 100, 480);
    checkEveryWindow("inserting");
    roll.DeleteNote(FindNote(*song, 51, 120));
    checkEveryWindow("deleting");

    // Edits made elsewhere, after which the owner rebuilds the list.
    TKVMidiEvent* moved = FindNote(*song, 52, 240);
    ASSERT_NE(moved, nullptr);
    moved->SetStartTime(90000);
    moved->RelatedEvent()->SetStartTime(90500);
    roll.RebuildEventList();
    checkEveryWindow("an edit elsewhere");
}

TEST_F(PianoRollCore, ScrollRangesFollowTheSongAndTheCursor)
{
    // A song 3 840 ticks long in a 400-pixel notes area: the last position shows its end in the
    // middle, Ceil((3840 - 1500) / 480) = 5.
    song = MakeRollSong(480, {{0, 60, 0, 3840}, {0, 67, 0, 240}}, 1);
    roll.SetPaintBoxSize(463, 283);
    roll.SetMidiFile(song.get());
    EXPECT_EQ(roll.HorzMax(), 5);
    EXPECT_EQ(roll.VertPosition(), 131 - 67);
    EXPECT_EQ(roll.VertMax(), 132 - 243 / 8);
    EXPECT_EQ(roll.PitchRange(), 24);
    roll.SetQuarterNoteHeight(6);
    EXPECT_EQ(roll.AutoRectHeight(), 22 + 24 * 8 + 18 + 17);

    // Last visible quarter note 400 / 64 = 6.25.
    struct Case {
        int time, position;
    };
    for (const Case& c : {Case{2000, 0}, Case{3000, 0}, Case{3024, 5}, Case{960, 2}, Case{-1, 0}}) {
        roll.SetCurrentTime(c.time);
        EXPECT_EQ(roll.HorzPosition(), c.position) << c.time; // 3024 ticks = 6.3 quarters: 6, limited to 5
    }
    roll.SetNotePosition(200);
    EXPECT_EQ(roll.NotePosition(), 131);
    roll.SetNotePosition(-5);
    EXPECT_EQ(roll.NotePosition(), 0);

    RollRig empty;
    EXPECT_EQ(empty.PitchRange(), 24);
    EXPECT_EQ(empty.AutoRectHeight(), 22 + 24 * 8 + 18 + 17);
}

TEST_F(PianoRollCore, ZoomAndResolutionThatWouldDivideByZeroAreKeptOut)
{
    for (int width : {0, -64, 1, 15}) {
        roll.SetQuarterNoteWidth(width);
        EXPECT_EQ(roll.QuarterNoteWidth(), 16) << width;
    }
    roll.SetQuarterNoteWidth(100000);
    EXPECT_EQ(roll.QuarterNoteWidth(), 256);
    for (int height : {0, -1, 1}) {
        roll.SetQuarterNoteHeight(height);
        EXPECT_EQ(roll.QuarterNoteHeight(), 2) << height;
    }
    roll.SetQuarterNoteHeight(99);
    EXPECT_EQ(roll.QuarterNoteHeight(), 20);

    // A song of 0 pulses per quarter note is not shown: no conversion, no note, no edit.
    song = MakeRollSong(0, {{0, 60, 0, 480}}, 1);
    roll.SetMidiFile(song.get());
    EXPECT_FALSE(roll.SongReady());
    EXPECT_EQ(roll.PixelsToTicks(64), 0);
    EXPECT_EQ(roll.TicksToBeats(480), 0.0);
    for (TPlayMode mode : {pmPlay, pmEdit, pmInsert, pmDelete}) {
        roll.SetPlayMode(mode);
        roll.SetCurrentTime(100);
        roll.Move(100, 100);
        roll.Press(100, 100);
        roll.Release(100, 100);
        EXPECT_TRUE(roll.PaintPass().empty());
    }
    EXPECT_EQ(test::NoteOnCount(*song), 1);
    roll.ResetZoom();
}

TEST_F(PianoRollCore, FarTimesAtTheCoarsestResolutionNeitherOverflowNorWrap)
{
    // One pulse per quarter note at 256 pixels a quarter: a note 200 million ticks in lies
    // 51 200 million pixels to the right.
    song = MakeRollSong(1, {{0, 60, 0, 2}, {0, 62, 200000000, 260000000}}, 1);
    roll.SetMidiFile(song.get());
    roll.SetQuarterNoteWidth(256);
    roll.SetPlayMode(pmPlay);
    for (std::int32_t time : {0, 230000000, std::numeric_limits<std::int32_t>::max(), -1}) {
        roll.SetCurrentTime(time);
        roll.PaintPass();
        roll.Press(70, 100);
        roll.Move(5000, 100);
        roll.Release(5000, 100);
    }
    TKVMidiEvent* far = FindNote(*song, 62, 200000000);
    const TRect r = roll.GetNoteRect(far);
    EXPECT_GT(r.Left, 0);
    EXPECT_GE(r.Right, r.Left);
    roll.SetPlayMode(pmEdit);
    roll.SetHorzPosition(roll.HorzMax());
    const TPoint p = On(far);
    roll.Drag(p.X, p.Y, p.X + 100000, p.Y);
    EXPECT_GE(far->StartTime(), 200000000);
    EXPECT_GE(far->TimeLength(), RollMinNoteLength);
    EXPECT_TRUE(roll.sound.Silent());
}

TEST_F(PianoRollCore, InsertByClickingAnEmptyPlace)
{
    Show({{2, 64, 1920, 2040, 3}});
    ASSERT_EQ(roll.VertPosition(), 65);
    roll.SetPlayMode(pmInsert);
    // A fresh template names track 1, status 0 and length 0.
    roll.Drag(189, 70, 189, 70);
    TKVMidiEvent* note = FindNote(*song, 60, 960);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->Track(), 1);
    EXPECT_EQ(note->Event(), 0x90);
    EXPECT_EQ(note->Data2(), 80);
    EXPECT_EQ(note->TimeLength(), 480);
    ASSERT_NE(note->RelatedEvent(), nullptr);
    EXPECT_EQ(note->RelatedEvent()->Event(), 0x80);
    EXPECT_EQ(note->RelatedEvent()->Data1(), 60);
    EXPECT_EQ(note->RelatedEvent()->Data2(), 64);
    EXPECT_EQ(note->RelatedEvent()->StartTime(), 1440);
    EXPECT_EQ(song->GetTrack(1)->GetEvent(0), note);
    EXPECT_EQ(roll.LastNoteRef().StartTime(), 960);

    // Pressing a note of track 2 (status $93, 120 ticks) makes it the template.
    TKVMidiEvent* template2 = FindNote(*song, 64, 1920);
    const TPoint p = On(template2);
    roll.Drag(p.X, p.Y, p.X, p.Y);
    roll.Drag(189, 110, 189, 110); // pitch 55
    TKVMidiEvent* second = FindNote(*song, 55, 960);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Track(), 2);
    EXPECT_EQ(second->Event(), 0x93);
    EXPECT_EQ(second->RelatedEvent()->StartTime(), 960 + 120);
    EXPECT_EQ(song->GetTrack(2)->TrackEventCount(), 5);
    EXPECT_TRUE(roll.sound.Silent());
    EXPECT_EQ(roll.sound.ons, 1);

    // A click that moved, or a click on the rows above pitch 127, inserts nothing.
    const int before = test::NoteOnCount(*song);
    roll.Drag(189, 150, 200, 150);
    roll.SetVertPosition(0);
    roll.Drag(189, 23, 189, 23);
    EXPECT_EQ(test::NoteOnCount(*song), before);
}

TEST_F(PianoRollCore, InsertIntoASongWithoutTheTemplatesTrackUsesItsLastTrack)
{
    song = MakeRollSong(480, {{0, 66, 0, 240}}, 1);
    roll.SetMidiFile(song.get());
    roll.SetPlayMode(pmInsert);
    roll.Drag(189, 70, 189, 70);
    TKVMidiEvent* note = FindNote(*song, 60, 960);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->Track(), 0);
    EXPECT_EQ(song->GetTrack(0)->GetEvent(2), note); // after the first note, before the end of the track
}

TEST_F(PianoRollCore, DraggingANoteMovesItOnceAtTheRelease)
{
    struct Case {
        const char* what;
        int ppq, start, end, pitch;
        int dx, dy;
        int newStart, newLength, newPitch;
    };
    const Case cases[] = {
        {"right by a quarter note", 480, 960, 1440, 60, 64, 0, 1440, 480, 60},
        {"a 5-tick note becomes 8 ticks", 24, 48, 53, 60, 64, 0, 72, 8, 60},
        {"not before the start", 480, 100, 400, 60, -40, 0, 0, 300, 60},
        {"20 pixels up is 2 rows", 480, 960, 1440, 60, 0, -20, 960, 480, 62},
        {"7 pixels up is none", 480, 960, 1440, 60, 0, -7, 960, 480, 60},
        {"down 3 rows", 480, 960, 1440, 60, 0, 24, 960, 480, 57},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RollRig rig;
        song = MakeRollSong(c.ppq, {{0, 66, 0, 10}, {1, c.pitch, c.start, c.end}});
        rig.SetMidiFile(song.get());
        rig.SetPlayMode(pmEdit);
        TKVMidiEvent* note = FindNote(*song, c.pitch, c.start);
        const TRect r = rig.GetNoteRect(note);
        const TPoint p{r.Left + 1, (r.Top + r.Bottom) / 2};
        rig.Move(p.X, p.Y);
        ASSERT_EQ(rig.SelectedNotes(), std::vector<TKVMidiEvent*>{note});
        rig.Press(p.X, p.Y);
        EXPECT_EQ(rig.sound.ons, 1);
        EXPECT_TRUE(rig.confined);
        rig.Move(p.X + c.dx, p.Y + c.dy);
        EXPECT_EQ(note->StartTime(), c.start); // nothing moves while the button is held
        rig.Release(p.X + c.dx, p.Y + c.dy);
        EXPECT_EQ(note->StartTime(), c.newStart);
        EXPECT_EQ(note->TimeLength(), c.newLength);
        EXPECT_EQ(note->RelatedEvent()->StartTime(), c.newStart + c.newLength);
        EXPECT_EQ(note->Data1(), c.newPitch);
        EXPECT_EQ(note->RelatedEvent()->Data1(), c.newPitch);
        EXPECT_FALSE(rig.confined);
        EXPECT_TRUE(rig.sound.Silent());
        EXPECT_EQ(rig.reported.back(), (std::pair<int, int>{0x80, c.pitch})); // the audition ends at the old pitch
    }
}

TEST_F(PianoRollCore, StretchingStopsEightTicksAfterTheStart)
{
    Show({{1, 60, 960, 1440}});
    roll.SetPlayMode(pmEdit);
    TKVMidiEvent* note = FindNote(*song, 60, 960);
    const TRect r = roll.GetNoteRect(note);
    roll.Move(r.Right - 1, r.Top + 2);
    EXPECT_EQ(roll.MoveType(), mtLength);
    EXPECT_EQ(roll.PointerShape(), rpSizeWE);
    roll.Press(r.Right - 1, r.Top + 2);
    roll.Release(r.Right - 200, r.Top + 2);
    EXPECT_EQ(note->StartTime(), 960);
    EXPECT_EQ(note->RelatedEvent()->StartTime(), 968);
    EXPECT_EQ(note->TimeLength(), 8);
    EXPECT_EQ(roll.sound.ons, 0); // the length handle does not audition
    EXPECT_TRUE(roll.sound.Silent());
}

TEST_F(PianoRollCore, MovingKeepsEveryPitchWithinTheMidiRangeAndTheChordWhole)
{
    song = MakeRollSong(480, {{0, 127, 960, 1440}, {0, 125, 960, 1440}}, 1);
    roll.SetMidiFile(song.get());
    roll.SetPlayMode(pmEdit);
    roll.SetVertPosition(0);
    TKVMidiEvent* top = FindNote(*song, 127, 960);
    TKVMidiEvent* lower = FindNote(*song, 125, 960);
    // A band over both, then a drag of the pair 3 rows up: the top one can go nowhere, so neither moves.
    const TRect rt = roll.GetNoteRect(top), rl = roll.GetNoteRect(lower);
    roll.Drag(rt.Left - 5, rt.Top - 3, rt.Left + 5, rl.Bottom + 2);
    ASSERT_EQ(roll.SelectedNotes().size(), 2u);
    const TPoint p = On(top);
    roll.Move(p.X, p.Y);
    EXPECT_EQ(roll.MoveType(), mtPosition);
    roll.Press(p.X, p.Y);
    roll.Release(p.X, p.Y - 24);
    EXPECT_EQ(top->Data1(), 127);
    EXPECT_EQ(lower->Data1(), 125);
    EXPECT_TRUE(roll.sound.Silent());
}

TEST_F(PianoRollCore, BandSelectsNotesWithACornerInside)
{
    Show({{1, 60, 960, 1440}, {1, 62, 1200, 1300}, {1, 57, 600, 700}, {1, 58, 0, 3000}, {1, 50, 960, 1440}});
    roll.SetPlayMode(pmEdit);
    // Band from (100, 40) to (300, 120): x 100..300 is ticks 293..1793, y 40..120 rows 67..77.
    roll.Drag(100, 40, 300, 120);
    EXPECT_EQ(roll.SelectMouseRect(), Rect(100, 40, 300, 120));
    std::vector<TKVMidiEvent*> selected = roll.SelectedNotes();
    auto has = [&](int pitch, int start) {
        return std::find(selected.begin(), selected.end(), FindNote(*song, pitch, start)) != selected.end();
    };
    EXPECT_TRUE(has(60, 960));
    EXPECT_TRUE(has(62, 1200));
    EXPECT_TRUE(has(57, 600));
    EXPECT_FALSE(has(58, 0));    // crosses the band with no corner in it
    EXPECT_FALSE(has(50, 960));  // below it
    EXPECT_EQ(roll.sound.ons, 0);
}

TEST_F(PianoRollCore, PressOutsideABandSelectionEndsTheAudition)
{
    Show({{1, 60, 960, 1440}});
    roll.SetPlayMode(pmEdit);
    roll.Drag(150, 60, 250, 90);
    ASSERT_EQ(roll.SelectedNotes().size(), 1u);
    // One note selected: the press auditions it, then empties the selection as it lies outside the band.
    roll.PaintBoxMouseDown(mbLeft, 0, 400, 200);
    EXPECT_EQ(roll.sound.ons, 1);
    EXPECT_TRUE(roll.SelectedNotes().empty());
    roll.PaintBoxMouseUp(mbLeft, 0, 400, 200);
    EXPECT_EQ(roll.sound.offs, 1);
    EXPECT_TRUE(roll.sound.Silent());
    EXPECT_FALSE(roll.confined);
}

TEST_F(PianoRollCore, RightClickDeletesInInsertModeOnlyTheNoteAPaintReselected)
{
    Show({{1, 60, 960, 1440}});
    TKVMidiEvent* note = FindNote(*song, 60, 960);
    const TPoint p = On(note);
    struct Case {
        TPlayMode mode;
        bool paintBetween;
        bool deleted;
    };
    for (const Case& c : {Case{pmEdit, true, false}, Case{pmInsert, false, false}, Case{pmInsert, true, true}}) {
        SCOPED_TRACE(::testing::Message() << int(c.mode) << " " << c.paintBetween);
        roll.SetPlayMode(c.mode);
        roll.Move(p.X, p.Y);
        ASSERT_EQ(roll.SelectedNotes().size(), 1u);
        roll.selectionChanges.clear();
        roll.PaintBoxMouseDown(mbRight, 0, p.X, p.Y);
        EXPECT_EQ(roll.selectionChanges.front(), (std::pair<int, TKVMidiEvent*>{0, nullptr}));
        if (c.paintBetween) roll.PaintPass();
        roll.PaintBoxMouseUp(mbRight, 0, p.X, p.Y);
        EXPECT_EQ(FindNote(*song, 60, 960) == nullptr, c.deleted);
        roll.SetPlayMode(pmPlay);
    }
    EXPECT_EQ(roll.sound.ons, 0);
    EXPECT_TRUE(roll.sound.Silent());
}

TEST_F(PianoRollCore, DeleteModeAuditionsThenDeletesTheSelectedNotes)
{
    Show({{1, 60, 960, 1440}, {1, 62, 960, 1440}, {1, 64, 960, 1440}});
    roll.SetPlayMode(pmDelete);
    TKVMidiEvent* note = FindNote(*song, 60, 960);
    const TPoint p = On(note);
    roll.Move(p.X, p.Y);
    roll.Press(p.X, p.Y);
    EXPECT_EQ(roll.reported, (std::vector<std::pair<int, int>>{{0x90, 60}}));
    roll.Release(p.X, p.Y);
    EXPECT_EQ(roll.reported.back(), (std::pair<int, int>{0x80, 60}));
    EXPECT_EQ(FindNote(*song, 60, 960), nullptr);
    EXPECT_EQ(song->GetTrack(1)->TrackEventCount(), 5);

    // A band drawn in this mode deletes what it takes when the button is released, sounding nothing.
    roll.Move(150, 40);
    roll.Press(150, 40);
    roll.Move(300, 70);
    ASSERT_EQ(roll.SelectedNotes().size(), 2u);
    roll.Release(300, 70);
    EXPECT_EQ(test::NoteOnCount(*song), 1);
    EXPECT_EQ(roll.MidiEventList().size(), 5u); // the first track's note and end, the ends of the others
    EXPECT_EQ(roll.sound.ons, 1);
    EXPECT_TRUE(roll.sound.Silent());
}

TEST_F(PianoRollCore, DoubleClickReportsTheNoteAndEmptiesTheSelection)
{
    Show({{1, 60, 960, 1440}});
    roll.SetPlayMode(pmEdit);
    TKVMidiEvent* note = FindNote(*song, 60, 960);
    std::vector<TKVMidiEvent*> doubleClicked;
    roll.OnDblClickNote = [&](TKVMidiEvent* e) { doubleClicked.push_back(e); };
    const TPoint p = On(note);
    roll.Move(p.X, p.Y);
    roll.Press(p.X, p.Y);
    roll.Release(p.X, p.Y);
    roll.Move(p.X, p.Y);
    // The system's order: the double click, then a press, then the release.
    roll.PaintBoxDblClick();
    EXPECT_EQ(doubleClicked, std::vector<TKVMidiEvent*>{note});
    EXPECT_TRUE(roll.SelectedNotes().empty());
    roll.PaintBoxMouseDown(mbLeft, 0, p.X, p.Y);
    roll.PaintBoxMouseUp(mbLeft, 0, p.X, p.Y);
    EXPECT_EQ(note->StartTime(), 960);
    EXPECT_TRUE(roll.sound.Silent());
}

TEST_F(PianoRollCore, PlayModeLightsTheNotesUnderTheCursor)
{
    Show({{1, 60, 960, 1440}, {1, 64, 960, 1920}, {1, 67, 1200, 1440}});
    roll.SetCurrentTime(1440); // a note-off on the cursor's tick is still lit
    roll.PaintPass();
    EXPECT_EQ(roll.LitNotes().size(), 3u);
    roll.SetCurrentTime(1441); // one tick later: released at once, paint or not
    EXPECT_EQ(roll.LitNotes(), std::vector<TKVMidiEvent*>{FindNote(*song, 64, 960)});
    EXPECT_EQ(roll.sound.offs, 2);
    roll.PaintPass();
    roll.SetCurrentTime(1300);
    roll.PaintPass();
    ASSERT_EQ(roll.LitNotes().size(), 3u);
    const std::vector<TKVMidiEvent*> lit = roll.LitNotes();
    roll.reported.clear();
    roll.SetPlayMode(pmEdit); // three note-offs, the last lit first
    ASSERT_EQ(roll.reported.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(roll.reported[static_cast<std::size_t>(i)].second, lit[static_cast<std::size_t>(2 - i)]->Data1());
    EXPECT_TRUE(roll.sound.Silent());
}

TEST_F(PianoRollCore, LitNotesAreReleasedWithoutAnyPaint)
{
    Show({{1, 60, 0, 48000}, {1, 62, 0, 480}});
    roll.SetCurrentTime(100);
    roll.PaintPass();
    ASSERT_EQ(roll.LitNotes().size(), 3u);
    // The cursor runs far on (the view follows): the short notes go silent though no paint came.
    roll.SetCurrentTime(30000);
    EXPECT_EQ(roll.sound.offs, 2);
    // Hidden: the long note too.
    roll.ReleaseSoundingNotes();
    EXPECT_TRUE(roll.LitNotes().empty());
    EXPECT_TRUE(roll.sound.Silent());

    // Scrubbing by dragging in play mode moves the cursor and lights what it passes.
    roll.SetCurrentTime(-1);
    roll.Press(100, 100);
    EXPECT_EQ(roll.CurrentTime(), roll.PixelsToTicks(100 - 61));
    EXPECT_EQ(roll.LitNotes().size(), 2u);
    roll.Move(200, 100);
    roll.Release(200, 100);
    EXPECT_EQ(roll.LitNotes().size(), 1u);
    roll.Clear();
    EXPECT_TRUE(roll.sound.Silent());
}

TEST_F(PianoRollCore, TheRollTellsWhetherTheUserPutTheCursorWhereItIs)
{
    Show({{1, 60, 0, 48000}});
    roll.SetCurrentTime(100);
    roll.PaintPass();
    ASSERT_EQ(roll.LitNotes().size(), 2u);
    EXPECT_FALSE(roll.CursorPlacedByUser());
    // A press on the same notes (x 70 is tick 67) lights them again, now as the user's: reported anew.
    roll.reported.clear();
    roll.Press(70, 100);
    EXPECT_TRUE(roll.CursorPlacedByUser());
    EXPECT_EQ(roll.LitNotes().size(), 2u);
    EXPECT_EQ(std::count_if(roll.reported.begin(), roll.reported.end(), [](auto r) { return (r.first & 0xF0) == 0x90; }), 2);
    roll.Release(70, 100);
    EXPECT_TRUE(roll.CursorPlacedByUser());
    // The owner's cursor, and a release of the lit notes, end it.
    roll.SetCurrentTime(200);
    EXPECT_FALSE(roll.CursorPlacedByUser());
    roll.Press(70, 100);
    roll.ReleaseSoundingNotes();
    EXPECT_FALSE(roll.CursorPlacedByUser());
    roll.Press(70, 100);
    roll.Clear();
    EXPECT_FALSE(roll.CursorPlacedByUser());
    EXPECT_TRUE(roll.sound.Silent());
}

TEST_F(PianoRollCore, AuditionEndsWhenTheCaptureIsLostOrTheRollIsHidden)
{
    Show({{1, 60, 960, 1440}});
    roll.SetPlayMode(pmEdit);
    const TPoint p = On(FindNote(*song, 60, 960));
    roll.Move(p.X, p.Y);
    roll.Press(p.X, p.Y);
    ASSERT_EQ(roll.sound.ons, 1);
    roll.MouseCaptureLost();
    EXPECT_TRUE(roll.sound.Silent());
    EXPECT_FALSE(roll.confined);
    EXPECT_FALSE(roll.MouseDownL());

    roll.Move(p.X, p.Y);
    roll.Press(p.X, p.Y);
    roll.ReleaseSoundingNotes();
    EXPECT_TRUE(roll.sound.Silent());
    roll.Release(p.X, p.Y);
    EXPECT_TRUE(roll.sound.Silent());
    EXPECT_EQ(roll.sound.ons, 2);
}

TEST_F(PianoRollCore, NoteOnWithoutItsNoteOffOrWithAnUnknownTrackIsSafe)
{
    Show({{1, 60, 960, 1440}, {1, 62, 960, 1440}, {1, 64, 960, 1440}});
    TKVMidiEvent* lonely = FindNote(*song, 60, 960);
    TKVMidiEvent* stray = FindNote(*song, 62, 960);
    stray->SetTrack(200);
    stray->RelatedEvent()->SetTrack(200);
    // The event editor takes away a note-off.
    song->GetTrack(1)->DelEvent(lonely->RelatedEvent(), true);
    ASSERT_EQ(lonely->RelatedEvent(), nullptr);
    roll.RebuildEventList();
    const std::vector<TKVRollNote> visible = roll.PaintPass();
    EXPECT_EQ(visible.size(), 3u); // 62, 64 and the first track's 66
    EXPECT_EQ(roll.GetNoteRect(lonely), TRect{});

    const int lonelyX = 62 + roll.TicksToPixels(1000), lonelyY = roll.GetNoteRect(stray).Top + 16 + 3;
    for (TPlayMode mode : {pmPlay, pmEdit, pmInsert, pmDelete}) {
        roll.SetPlayMode(mode);
        roll.SetCurrentTime(1000);
        roll.Drag(lonelyX, lonelyY, lonelyX + 8, lonelyY);
        roll.Press(lonelyX, lonelyY, mbRight);
        roll.Release(lonelyX, lonelyY, mbRight);
    }
    // The note of the unknown track moves and is deleted within the track that holds it.
    roll.SetPlayMode(pmEdit);
    const TPoint p = On(stray);
    roll.Drag(p.X, p.Y, p.X + 64, p.Y);
    EXPECT_EQ(stray->StartTime(), 1440);
    roll.SetPlayMode(pmDelete);
    const TPoint q = On(stray);
    roll.Drag(q.X, q.Y, q.X, q.Y);
    EXPECT_EQ(FindNote(*song, 62, 1440), nullptr);
    EXPECT_TRUE(roll.sound.Silent());
}

TEST_F(PianoRollCore, ANewSongEmptiesEveryListWithoutTouchingTheOldOnesEvents)
{
    Show({{1, 60, 0, 960}, {1, 62, 0, 960}});
    roll.SetCurrentTime(10);
    roll.PaintPass();
    ASSERT_EQ(roll.LitNotes().size(), 3u);
    // The song is freed before the roll hears of it: the releases come from the roll's own copies.
    song.reset();
    auto next = MakeRollSong(480, {{0, 50, 0, 480}}, 1);
    roll.SetMidiFile(next.get());
    EXPECT_TRUE(roll.LitNotes().empty());
    EXPECT_TRUE(roll.SelectedNotes().empty());
    EXPECT_EQ(roll.MidiEventList().size(), 3u); // a note-on, its note-off and the end of the track
    EXPECT_TRUE(roll.sound.Silent());
    roll.SetMidiFile(nullptr);
    EXPECT_TRUE(roll.MidiEventList().empty());
    EXPECT_TRUE(roll.PaintPass().empty());
}

// --- the roll among the song's other holders ------------------------------------------------

// Every note of the song as (track, pitch, start, end), in track order.
std::vector<std::tuple<int, int, int, int>> NotesOf(const TKVMidiFile& Song)
{
    std::vector<std::tuple<int, int, int, int>> notes;
    for (int t = 0; t < Song.TrackCount(); ++t)
        for (int i = 0; i < Song.GetTrack(t)->TrackEventCount(); ++i) {
            const TKVMidiEvent* e = Song.GetTrack(t)->GetEvent(i);
            if (e->EventType() == etOn && e->RelatedEvent() != nullptr)
                notes.emplace_back(t, e->Data1(), e->StartTime(), e->RelatedEvent()->StartTime());
        }
    std::sort(notes.begin(), notes.end());
    return notes;
}

// Each track in time order, its delta times adding up to its start times.
void ExpectSortedAndTimed(const TKVMidiFile& Song)
{
    for (int t = 0; t < Song.TrackCount(); ++t) {
        std::int32_t time = 0;
        for (int i = 0; i < Song.GetTrack(t)->TrackEventCount(); ++i) {
            const TKVMidiEvent* e = Song.GetTrack(t)->GetEvent(i);
            time += e->DeltaTime();
            EXPECT_EQ(e->StartTime(), time) << "track " << t << ", event " << i;
        }
    }
}

TEST_F(PianoRollCore, EventsTheListDeletesAreLetGoOfBeforeTheyAreFreed)
{
    // What the roll holds of the note the list deletes: lit under the cursor, selected, or
    // auditioned while the button is held.
    enum Hold { Lit, Selected, Auditioned };
    for (const Hold hold : {Lit, Selected, Auditioned}) {
        SCOPED_TRACE(hold);
        Show({{1, 60, 960, 1440}, {1, 64, 960, 1920}, {2, 67, 0, 1920}});
        TKVMidiEvent* gone = FindNote(*song, 60, 960);
        const TPoint p = On(gone);
        if (hold == Lit) {
            roll.SetCurrentTime(1000);
            roll.PaintPass();
            ASSERT_EQ(roll.LitNotes().size(), 3u);
        } else {
            roll.SetPlayMode(pmEdit);
            roll.Move(p.X, p.Y);
            ASSERT_EQ(roll.SelectedNotes(), std::vector<TKVMidiEvent*>{gone});
            if (hold == Auditioned) roll.Press(p.X, p.Y);
        }
        const auto gonePointer = reinterpret_cast<std::uintptr_t>(gone);
        // The list's row of the note-off: its note-on goes along.
        DeleteListedEvents(*song, {gone->RelatedEvent()});
        for (TKVMidiEvent* e : roll.LitNotes()) EXPECT_NE(reinterpret_cast<std::uintptr_t>(e), gonePointer);
        EXPECT_TRUE(roll.SelectedNotes().empty());
        // The roll's next paint, the player's next tick and the end of the drag read only live events.
        const std::vector<TKVRollNote> shown = roll.PaintPass();
        EXPECT_EQ(shown.size(), 3u); // 64, 67 and the first track's 66
        for (const TKVRollNote& note : shown) EXPECT_NE(reinterpret_cast<std::uintptr_t>(note.On), gonePointer);
        roll.SetCurrentTime(1500);
        roll.SetCurrentTime(1000);
        if (hold == Auditioned) roll.Release(p.X + 30, p.Y);
        EXPECT_EQ(NotesOf(*song).size(), 3u) << "the release after the delete moves nothing away";
        roll.Clear();
        roll.ReleaseSoundingNotes();
        EXPECT_TRUE(roll.sound.Silent());
        roll.sound = {};
        roll.SetPlayMode(pmPlay);
        roll.SetCurrentTime(-1);
    }
}

TEST_F(PianoRollCore, TheRollsOwnEditsReachTheSongsOtherHolders)
{
    Show({{1, 60, 960, 1440}, {1, 64, 960, 1920}});
    std::vector<TKVSongChange> heard;
    int freedStarts = 0;
    const TKVSongWatch watch = song->Watchers().Watch([&](const TKVSongEdit& e) {
        heard.push_back(e.Change);
        EXPECT_EQ(e.Source, static_cast<const void*>(&roll));
        // Told before the free: the events named can still be read.
        if (e.Change == scEventsFreeing)
            for (const TKVMidiEvent* gone : *e.Events) freedStarts += gone->StartTime();
    });
    roll.SetPlayMode(pmEdit);
    const TPoint p = On(FindNote(*song, 60, 960));
    roll.Drag(p.X, p.Y, p.X + 64, p.Y);
    EXPECT_EQ(heard, std::vector<TKVSongChange>{scEventsChanged});
    heard.clear();
    roll.SetPlayMode(pmDelete);
    const TPoint q = On(FindNote(*song, 60, 1440));
    roll.Drag(q.X, q.Y, q.X, q.Y);
    EXPECT_EQ(heard, (std::vector<TKVSongChange>{scEventsFreeing, scEventsChanged}));
    EXPECT_EQ(freedStarts, 1440 + 1920);
}

TEST_F(PianoRollCore, AnEditorMoveToAnotherTrackIsFollowedByTheRollsDragsAndDeletes)
{
    Show({{1, 60, 960, 1440}, {1, 64, 960, 1920}, {2, 67, 0, 480}, {2, 69, 1920, 2400}});
    TKVMidiEvent* note = FindNote(*song, 60, 960);
    TKVEventValues values = ReadEventFields(*note, {3, "", "", "", "2000", ""});
    ApplyEventValues(*song, *note, values);
    ASSERT_EQ(song->GetTrack(2)->TrackEventCount(), 7);
    const auto& list = roll.MidiEventList();
    const auto entry = std::find_if(list.begin(), list.end(), [note](const TKVRollEntry& e) { return e.Event == note; });
    ASSERT_NE(entry, list.end());
    EXPECT_EQ(entry->TrackIndex, 2);

    // A drag in the roll re-times the track that now holds the note.
    roll.SetPlayMode(pmEdit);
    const TPoint p = On(note);
    roll.Drag(p.X, p.Y, p.X - 2 * 64, p.Y);
    EXPECT_EQ(note->StartTime(), 2000 - 960);
    ExpectSortedAndTimed(*song);
    EXPECT_EQ(NotesOf(*song), (std::vector<std::tuple<int, int, int, int>>{
                                  {0, 66, 0, 240}, {1, 64, 960, 1920}, {2, 60, 1040, 1520}, {2, 67, 0, 480}, {2, 69, 1920, 2400}}));
    // A delete in the roll takes it out of that track.
    roll.SetPlayMode(pmDelete);
    const TPoint q = On(note);
    roll.Drag(q.X, q.Y, q.X, q.Y);
    EXPECT_EQ(FindNote(*song, 60, 1040), nullptr);
    EXPECT_EQ(song->GetTrack(2)->TrackEventCount(), 5);
    EXPECT_TRUE(roll.sound.Silent());
}

TEST_F(PianoRollCore, ASongSavedAfterRollListAndEditorEditsReadsBackSortedWithItsTimes)
{
    Show({{1, 60, 960, 1440}, {1, 62, 1440, 1920}, {2, 64, 0, 480}, {2, 65, 480, 960}});
    roll.SetPlayMode(pmEdit);
    // The roll moves a note later, the list deletes another, the editor moves a third to another
    // track and time, the roll drags that one again and inserts a new note.
    TPoint p = On(FindNote(*song, 60, 960));
    roll.Drag(p.X, p.Y, p.X + 3 * 64, p.Y);
    DeleteListedEvents(*song, {FindNote(*song, 65, 480)});
    TKVMidiEvent* moved = FindNote(*song, 64, 0);
    ApplyEventValues(*song, *moved, ReadEventFields(*moved, {2, "", "", "", "2400", ""}));
    p = On(moved);
    roll.Drag(p.X, p.Y, p.X - 64, p.Y);
    roll.SetPlayMode(pmInsert);
    roll.Move(62 + 64, 100);
    roll.Press(62 + 64, 100);
    roll.Release(62 + 64, 100);
    const auto edited = NotesOf(*song);
    ASSERT_EQ(edited.size(), 5u);
    ExpectSortedAndTimed(*song);

    TMemoryStream bytes;
    song->WriteFile(bytes);
    TKVMidiFile read(nullptr);
    read.ReadFile(bytes);
    EXPECT_EQ(NotesOf(read), edited);
    ExpectSortedAndTimed(read);
    EXPECT_NE(std::find(edited.begin(), edited.end(), std::tuple<int, int, int, int>{1, 64, 1920, 2400}), edited.end());
    EXPECT_NE(std::find(edited.begin(), edited.end(), std::tuple<int, int, int, int>{1, 60, 2400, 2880}), edited.end());
}

} // namespace
} // namespace kv
