#include "piano/kvPianoKeyboardCore.h"

#include "piano/kvPianoTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace kv {
namespace {

using Report = std::tuple<int, int, int>;

// The piano without a window: the hooks are counted and the reports collected.
class RecordingPiano : public TKVPianoKeyboardCore {
public:
    RecordingPiano()
    {
        OnKeyboard = [this](std::uint8_t e, std::uint8_t d1, std::uint8_t d2) { reports.emplace_back(e, d1, d2); };
    }
    std::vector<Report> reports;
    int invalidations = 0;
    int confines = 0;
    int frees = 0;
    bool captured = false;

protected:
    void InvalidateKeys() override { ++invalidations; }
    void ConfineAndCapture(const TRect&) override { ++confines; captured = true; }
    void FreeAndRelease() override { ++frees; captured = false; }
    bool PaintBoxHasCapture() const override { return captured; }
};

class PianoKeyboardCore : public KeyLayoutTest {};

TEST_F(PianoKeyboardCore, MidiMessagesLightAndReleaseKeys)
{
    RecordingPiano piano; // free mode, octave 2
    piano.DoMidiShort(0x93, 60, 100, clRed);
    TColor color = 0;
    EXPECT_TRUE(piano.KeyPressed(36, &color));
    EXPECT_EQ(color, clRed);
    piano.DoMidiShort(0x91, 60, 90, clBlue); // already lit: keeps the first colour
    EXPECT_TRUE(piano.KeyPressed(36, &color));
    EXPECT_EQ(color, clRed);
    piano.DoMidiShort(0x85, 60, 0); // any channel releases it, whatever its colour
    EXPECT_FALSE(piano.KeyPressed(36));

    piano.invalidations = 0;
    piano.DoMidiShort(0x90, 60, 0, clRed); // velocity 0: pressed and released
    EXPECT_FALSE(piano.KeyPressed(36));
    EXPECT_EQ(piano.invalidations, 2);

    piano.DoMidiShort(0x90, 23, 100); // below the shown range: key 255, ignored
    piano.DoMidiShort(0x90, 24, 100);
    piano.DoMidiShort(0x90, 30, 100);
    EXPECT_EQ(piano.PressedKeys(), (std::vector<std::uint8_t>{0, 6}));
    piano.DoMidiShort(0xB0, 7, 100);
    EXPECT_EQ(piano.PressedKeys().size(), 2u);
    piano.DoMidiShort(0xB3, 123, 0);
    EXPECT_TRUE(piano.PressedKeys().empty());
    EXPECT_TRUE(piano.reports.empty()); // notes in are not reported
}

TEST_F(PianoKeyboardCore, OctaveAndGroupSettings)
{
    RecordingPiano piano;
    std::vector<int> octaves, groups;
    piano.OnOctaveChanged = [&](std::uint8_t v) { octaves.push_back(v); };
    piano.OnGroupChanged = [&](std::uint8_t v) { groups.push_back(v); };
    piano.SetPianoOctave(5); // 5 > 10 - 6
    EXPECT_EQ(piano.PianoOctave(), 2);
    piano.SetPianoGroup(9); // lowers the octave first
    EXPECT_EQ(piano.PianoOctave(), 1);
    EXPECT_EQ(piano.PianoGroup(), 9);
    EXPECT_EQ(octaves, std::vector<int>{1});
    EXPECT_EQ(groups, std::vector<int>{9});

    octaves.clear();
    piano.OctaveArrowClick(false); // 1 -> 0: changed, raised twice
    EXPECT_EQ(octaves, (std::vector<int>{0, 0}));
    octaves.clear();
    piano.OctaveArrowClick(false); // 0 - 1 = 255: refused, raised once
    EXPECT_EQ(piano.PianoOctave(), 0);
    EXPECT_EQ(octaves, std::vector<int>{0});

    piano.SetPianoFixed(true);
    EXPECT_EQ(piano.PianoOctave(), 0);
    EXPECT_EQ(piano.Geometry().ControlWidth(), 52 * 22 + 14);
    piano.SetPianoFixed(false);
    EXPECT_EQ(piano.PianoGroup(), 6);
    EXPECT_EQ(piano.PianoOctave(), 2);
}

TEST_F(PianoKeyboardCore, PlayedKeysAreReportedAndNeverAbove127)
{
    RecordingPiano piano;
    piano.SetPianoIntensity(200);
    piano.PlayPianoKey(true, 10);
    piano.PlayPianoKey(false, 10);
    EXPECT_EQ(piano.reports, (std::vector<Report>{{0x90, 34, 127}, {0x80, 34, 64}}));

    piano.reports.clear();
    piano.SetPianoGroup(1);
    piano.SetPianoOctave(9);   // keys 0..11 are notes 108..119
    piano.PlayPianoKey(true, 19);  // note 127: plays
    piano.PlayPianoKey(true, 20);  // note 128: nothing
    piano.PlayPianoKey(true, 300); // not a key
    EXPECT_EQ(piano.reports, (std::vector<Report>{{0x90, 127, 127}}));
    EXPECT_EQ(piano.PressedKeys(), std::vector<std::uint8_t>{19});
}

TEST_F(PianoKeyboardCore, ComputerKeysWithCtrlAndShift)
{
    RecordingPiano piano; // free mode, octave 2: the "1" key plays 36, note 60
    std::uint16_t one = '1';
    piano.DoPianoKeyDown(nullptr, one, ssCtrl | ssShift);
    piano.DoPianoKeyUp(nullptr, one, 0);
    EXPECT_EQ(piano.reports, (std::vector<Report>{{0x90, 61, 80}, {0x90, 73, 80}, {0x80, 61, 64}, {0x80, 73, 64}}));

    piano.reports.clear();
    std::uint16_t apostrophe = 222, unmapped = 'K' + 100;
    piano.DoPianoKeyDown(nullptr, apostrophe, 0);
    piano.SetKeyNote(1, -1);
    piano.DoPianoKeyDown(nullptr, one, 0);
    piano.DoPianoKeyDown(nullptr, unmapped, 0);
    EXPECT_TRUE(piano.reports.empty());
}

TEST_F(PianoKeyboardCore, OverlappingKeysWithDifferentModifiersLeaveNoNoteHanging)
{
    RecordingPiano piano;
    std::uint16_t one = '1', two = '2'; // 36 and 38
    piano.DoPianoKeyDown(nullptr, one, ssCtrl | ssShift); // 37, 49
    piano.DoPianoKeyDown(nullptr, two, 0);                // 38
    piano.DoPianoKeyDown(nullptr, one, 0);                // auto-repeat after Ctrl and Shift were let go: 36
    piano.DoPianoKeyUp(nullptr, one, 0);
    piano.DoPianoKeyUp(nullptr, two, ssCtrl);
    EXPECT_TRUE(piano.PressedKeys().empty());
    int balance = 0;
    for (const auto& [event, note, velocity] : piano.reports) balance += event == 0x90 ? 1 : -1;
    EXPECT_EQ(piano.reports.size(), 8u);
    EXPECT_EQ(balance, 0);
}

TEST_F(PianoKeyboardCore, ComputerKeyNotesAboveTheRangePlayNothing)
{
    RecordingPiano piano;
    piano.SetPianoOctave(4); // "\" plays 57 + 48 = 105; with Shift and Ctrl 57 + 13 + 48 = 118
    piano.SetKeyNote(13, 73);
    std::uint16_t backslash = 220;
    piano.DoPianoKeyDown(nullptr, backslash, ssShift); // 121 plays, 133 does not
    piano.DoPianoKeyUp(nullptr, backslash, 0);
    EXPECT_EQ(piano.reports, (std::vector<Report>{{0x90, 121, 80}, {0x80, 121, 64}}));
}

TEST_F(PianoKeyboardCore, LayoutNotesCountFromTheSameBaseOnEveryPath)
{
    struct Case { bool fixed; std::int32_t keyOfOne; };
    for (const Case& c : {Case{true, 60}, Case{false, 36}}) {
        KeyLayout = BuiltInKeyLayout();
        RecordingPiano piano;
        piano.SetPianoFixed(c.fixed);
        EXPECT_EQ(piano.KeyToNote('1'), c.keyOfOne);
        EXPECT_EQ(piano.NoteToName(c.keyOfOne), "1");
        EXPECT_EQ(piano.NoteToName2(c.keyOfOne), "Num 8"); // the last further row

        piano.SetKeyNote(1, 36); // the same note: the same key
        EXPECT_EQ(piano.KeyToNote('1'), c.keyOfOne);
        piano.SetKeyNote(47, 60);
        EXPECT_EQ(piano.KeyToNote(45), 60 + (c.fixed ? 24 : 0));
        piano.SetKeyNote(47, -1);
        EXPECT_EQ(piano.KeyToNote(45), -1);
        piano.SetKeyNote(74, 10);
        piano.SetKeyNote(-1, 10);

        const std::string path = PathOf(c.fixed ? "fixed.kbl" : "free.kbl");
        KeyLayout = BuiltInKeyLayout();
        piano.BuildNotesMap();
        piano.SaveToFile(path);
        piano.LoadFromFile(path);
        EXPECT_EQ(piano.KeyToNote('1'), c.keyOfOne) << "a saved and loaded layout plays the same";
    }
}

TEST_F(PianoKeyboardCore, MouseGlissandoAndRelease)
{
    RecordingPiano piano; // free, width 22, octave 2
    piano.PaintBoxMouseDown(mbLeft, ssLeft, 25, 100); // key 0, note 24
    EXPECT_EQ(piano.MouseOldKey(), 0);
    EXPECT_EQ(piano.confines, 1);
    piano.PaintBoxMouseMove(ssLeft, 30, 100);       // same key: nothing
    piano.PaintBoxMouseMove(ssLeft, 25 + 22, 100);  // key 2
    piano.PaintBoxMouseMove(0, 25 + 44, 100);       // button not down: nothing
    piano.PaintBoxMouseUp(mbLeft, 0, 25 + 44, 100);
    EXPECT_EQ(piano.reports,
              (std::vector<Report>{{0x90, 24, 80}, {0x80, 24, 64}, {0x90, 26, 80}, {0x80, 26, 64}}));
    EXPECT_EQ(piano.frees, 1);
    EXPECT_EQ(piano.MouseOldKey(), -1);
    EXPECT_TRUE(piano.PressedKeys().empty());
}

TEST_F(PianoKeyboardCore, MouseReleaseOutsideTheKeysEndsTheNoteAndFreesTheMouse)
{
    RecordingPiano piano;
    piano.PaintBoxMouseDown(mbLeft, ssLeft, 25, 100);
    piano.PaintBoxMouseUp(mbLeft, 0, 2000, 500);
    EXPECT_EQ(piano.reports, (std::vector<Report>{{0x90, 24, 80}, {0x80, 24, 64}}));
    EXPECT_EQ(piano.frees, 1);
    EXPECT_FALSE(piano.captured);

    piano.reports.clear();
    piano.PaintBoxMouseDown(mbRight, ssRight, 25, 100); // only the left button plays
    piano.PaintBoxMouseDown(mbLeft, ssLeft, 25, 5);     // on the strip: no key, no capture
    piano.PaintBoxMouseUp(mbLeft, 0, 25, 5);
    EXPECT_TRUE(piano.reports.empty());
    EXPECT_EQ(piano.confines, 1);
    EXPECT_EQ(piano.frees, 1);
}

TEST_F(PianoKeyboardCore, LostCaptureEndsTheHeldNote)
{
    RecordingPiano piano;
    piano.PaintBoxMouseDown(mbLeft, ssLeft, 25, 100);
    piano.MouseCaptureLost();
    EXPECT_EQ(piano.reports.back(), Report(0x80, 24, 64));
    EXPECT_EQ(piano.frees, 1);
    EXPECT_TRUE(piano.PressedKeys().empty());
}

} // namespace
} // namespace kv
