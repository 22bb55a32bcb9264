// The piano-roll window with the main and options windows in this process: its mode buttons,
// the notes it sounds and releases, its place above the main window and its zoom and open flag
// in the settings file.
#include "app/win/KorvanelWindowsFixture.h"
#include "app/win/fEvent.h"
#include "app/win/fMain.h"
#include "app/win/fOption.h"
#include "app/win/fRoll.h"
#include "app/win/WindowPixels.h"
#include "base/TIniFile.h"
#include "gui/win/TApplication.h"
#include "piano/kvPianoRollTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

namespace kv {
namespace {


class PianoRollWindow : public test::KorvanelWindows {
protected:
    PianoRollWindow() : KorvanelWindows({.FolderPrefix = "kv_roll_"}) {}
    void SetUp() override
    {
        KorvanelWindows::SetUp();
        main->SetBounds(120, 500, main->Width(), main->Height());
        main->Show();
        Pump();
    }
    // The main window's song becomes one with a middle C from tick 0 to 960.
    void OpenSongWithMiddleC()
    {
        auto song = test::MakeRollSong(480, {{0, 60, 0, 960}});
        TMemoryStream bytes;
        song->WriteFile(bytes);
        main->MidiFile1->ReadFile(bytes);
        roll->PianoRoll1->SetMidiFile(main->MidiFile1);
        roll->UpdateFormSize();
    }
    void Click(TControl* Control)
    {
        HWND wnd = static_cast<TWinControl*>(Control)->Handle();
        SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
    }
    int SettingsValue(const char* Key, int Default = -99) const
    {
        return TIniFile(settings).ReadInteger("PianoRoll", Key, Default);
    }
    void WriteSettings(const std::string& Text) const { std::ofstream(settings) << Text; }
};

TEST_F(PianoRollWindow, IsMadeHiddenAndShownAboveTheMainWindowAtItsWidth)
{
    EXPECT_FALSE(IsWindowVisible(roll->Handle()));
    EXPECT_EQ(roll->Caption(), "Piano Roll");
    EXPECT_EQ(roll->Panel1->Height(), 33);
    EXPECT_EQ(roll->Panel1->Color(), clBlack);
    OpenSongWithMiddleC();
    main->actPianoRoll->Execute();
    Pump();
    ASSERT_TRUE(IsWindowVisible(roll->Handle()));
    const std::int32_t expectedHeight = roll->PianoRoll1->AutoRectHeight() + 33 + 2 * GetSystemMetrics(SM_CXSIZEFRAME) +
                                        GetSystemMetrics(SM_CYCAPTION);
    EXPECT_EQ(roll->Height(), expectedHeight);
    EXPECT_EQ(roll->Top(), main->Top() - expectedHeight);
    EXPECT_EQ(roll->Left(), main->Left());
    EXPECT_EQ(roll->Width(), main->Width());
    // The strip spans the window; the buttons keep their distance from its right edge and the
    // roll fills what is below the strip.
    EXPECT_EQ(roll->Panel1->Width(), roll->ClientWidth());
    EXPECT_EQ(roll->ModeButtons[3]->Left(), 697 + roll->ClientWidth() - 738);
    EXPECT_EQ(roll->PianoRoll1->BoundsRect(), Rect(0, 33, roll->ClientWidth(), roll->ClientHeight()));
    // No room above the main window: the roll stands at the screen's top.
    main->SetTop(10);
    roll->UpdateFormSize();
    EXPECT_EQ(roll->Top(), 0);
    EXPECT_TRUE(errors.empty());
}

// The rectangle of a window as the system has it.
RECT WindowRect(TWinControl* Window)
{
    RECT r{};
    GetWindowRect(Window->Handle(), &r);
    return r;
}

TEST_F(PianoRollWindow, MovingTheMainWindowCarriesTheVisibleRollAndEventListCentredAboveIt)
{
    OpenSongWithMiddleC();
    main->actPianoRoll->Execute();
    main->actMidiEvent->Execute();
    Pump();
    ASSERT_TRUE(frmEvent);
    // Moved as a user drags it: by the system, not through the control.
    for (const POINT to : {POINT{220, 650}, POINT{40, 120}}) {
        SetWindowPos(main->Handle(), nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
        const RECT m = WindowRect(main.get());
        ASSERT_EQ(m.left, to.x);
        for (TForm* form : std::initializer_list<TForm*>{roll.get(), frmEvent}) {
            const RECT r = WindowRect(form);
            EXPECT_EQ(r.left, m.left + ((m.right - m.left) - (r.right - r.left)) / 2) << form->Name();
            EXPECT_EQ(r.top, std::max(0L, m.top - (r.bottom - r.top))) << form->Name() << " " << to.y;
        }
    }
    // A hidden window stays where it is.
    roll->Close();
    Pump();
    const RECT hidden = WindowRect(roll.get());
    SetWindowPos(main->Handle(), nullptr, 300, 700, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_EQ(WindowRect(roll.get()).left, hidden.left);
    EXPECT_EQ(WindowRect(roll.get()).top, hidden.top);
    EXPECT_EQ(WindowRect(frmEvent).top, 700 - frmEvent->Height());
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoRollWindow, OpeningTheRollWithNoRoomAboveMovesTheMainWindowBelowIt)
{
    OpenSongWithMiddleC();
    const std::int32_t screen = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        std::int32_t mainTop;
        const char* what;
    };
    for (const Case& c : {Case{500, "room above: nothing moves"}, Case{10, "no room: below the roll"}}) {
        roll->Close();
        main->SetTop(c.mainTop);
        Pump();
        main->actPianoRoll->Execute();
        Pump();
        const RECT r = WindowRect(roll.get()), m = WindowRect(main.get());
        EXPECT_EQ(r.top, std::max(0, c.mainTop - roll->Height())) << c.what;
        // The roll never covers the main window, which stays on the screen.
        EXPECT_EQ(m.top, std::max<LONG>(c.mainTop, std::min<LONG>(screen - main->Height(), r.bottom))) << c.what;
        EXPECT_LE(r.bottom, m.top) << c.what;
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoRollWindow, TheZoomResetButtonShowsItsGlyphAndTheZoomSlidersAreNoTabStops)
{
    roll->Show();
    Pump();
    TKVPianoRoll& pianoRoll = *roll->PianoRoll1;
    ASSERT_FALSE(pianoRoll.ResetGlyph().Empty());
    EXPECT_LE(pianoRoll.ResetGlyph().Width(), 13); // inside the 17-pixel button's edges
    HWND button = pianoRoll.ResetButton()->Handle();
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const test::WindowPixels shot = test::CaptureClient(button);
    // The glyph's colour stands in the button's middle; its corners show the button.
    EXPECT_TRUE(shot.Holds(RECT{3, 3, 14, 14}, RGB(20, 40, 110)));
    EXPECT_NE(shot.At(3, 13), RGB(255, 0, 255));
    // Tab and the arrow keys never reach the sliders: only the mouse zooms.
    for (TWinControl* slider : {static_cast<TWinControl*>(pianoRoll.HorzTrackBar()), static_cast<TWinControl*>(pianoRoll.VertTrackBar())})
        EXPECT_FALSE(GetWindowLongPtrW(slider->Handle(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoRollWindow, EachModeButtonGoesDownAloneAndSwitchesTheRollsMode)
{
    EXPECT_TRUE(roll->ModeButtons[0]->Down());
    EXPECT_EQ(roll->PianoRoll1->PlayMode(), pmPlay);
    roll->Show();
    Pump();
    for (int pressed : {2, 1, 3, 3, 0}) {
        Click(roll->ModeButtons[pressed]);
        for (int b = 0; b < 4; ++b) EXPECT_EQ(roll->ModeButtons[b]->Down(), b == pressed) << pressed << " " << b;
        EXPECT_EQ(roll->PianoRoll1->PlayMode(), static_cast<TPlayMode>(pressed));
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoRollWindow, LitNotesSoundOnThePianoWhileIdleAndGoUpWhenHiddenOrTheModeChanges)
{
    OpenSongWithMiddleC();
    // Notes lit under a cursor the user did not put there make no sound.
    roll->Show();
    roll->PianoRoll1->SetCurrentTime(480);
    roll->PianoRoll1->PaintPass();
    ASSERT_EQ(roll->PianoRoll1->LitNotes().size(), 1u);
    EXPECT_FALSE(main->PianoKeyboard1->KeyPressed(60));
    // Each way out must put the key up: hiding the window, closing it, another mode.
    const std::vector<std::function<void()>> releases = {[this] { roll->Hide(); }, [this] { roll->Close(); },
                                                         [this] { Click(roll->ModeButtons[2]); }};
    for (std::size_t i = 0; i < releases.size(); ++i) {
        roll->Show();
        Click(roll->ModeButtons[0]);
        // The user puts the cursor on the note.
        const TKVPianoRollGeometry g = roll->PianoRoll1->Geometry();
        std::int32_t x = g.NotesRect().Left;
        while (g.TimeOfX(x) < 480) ++x;
        roll->PianoRoll1->PaintBoxMouseDown(mbLeft, 0, x, g.NotesRect().Top + 10);
        roll->PianoRoll1->PaintPass();
        roll->PianoRoll1->PaintBoxMouseUp(mbLeft, 0, x, g.NotesRect().Top + 10);
        ASSERT_TRUE(main->PianoKeyboard1->KeyPressed(60)) << i;
        releases[i]();
        Pump();
        EXPECT_FALSE(main->PianoKeyboard1->KeyPressed(60)) << i;
        roll->PianoRoll1->SetCurrentTime(-1);
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoRollWindow, TheZoomAndTheOpenFlagAreKeptInTheSettingsFile)
{
    WriteSettings("[PianoRoll]\nQuarterNoteWidth=128\nQuarterNoteHeight=10\n");
    main->actPianoRoll->Execute();
    Pump();
    EXPECT_EQ(roll->PianoRoll1->QuarterNoteWidth(), 128);
    EXPECT_EQ(roll->PianoRoll1->HorzTrackBar()->Position(), 128);
    EXPECT_EQ(roll->PianoRoll1->QuarterNoteHeight(), 10);
    EXPECT_EQ(SettingsValue("ShowRoll"), 1);
    roll->Close();
    Pump();
    EXPECT_FALSE(IsWindowVisible(roll->Handle()));
    EXPECT_EQ(SettingsValue("ShowRoll"), 0);
    roll->Show();
    Pump();
    EXPECT_EQ(SettingsValue("ShowRoll"), 1);
    roll->PianoRoll1->SetQuarterNoteWidth(32);
    roll->PianoRoll1->SetQuarterNoteHeight(4);
    // The program ends with the window open: it opens again next time, at the zoom it had.
    roll.reset();
    EXPECT_EQ(SettingsValue("ShowRoll"), 1);
    EXPECT_EQ(SettingsValue("QuarterNoteWidth"), 32);
    EXPECT_EQ(SettingsValue("QuarterNoteHeight"), 4);
    MakeRoll();
    roll->Show();
    Pump();
    EXPECT_EQ(roll->PianoRoll1->QuarterNoteWidth(), 32);
    EXPECT_EQ(roll->PianoRoll1->QuarterNoteHeight(), 4);
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoRollWindow, AZoomTheRollCannotUseIsLimitedWhereItIsRead)
{
    struct Case {
        const char* width;
        const char* height;
        int expectedWidth;
        int expectedHeight;
    };
    // A value that is no number leaves the zoom as the window has it (64 x 6 at first).
    for (const Case& c : {Case{"0", "0", 16, 2}, Case{"-40", "-1", 16, 2}, Case{"100000", "999", 256, 20},
                          Case{"wide", "", 64, 6}}) {
        roll.reset(); // writes the zoom it had
        WriteSettings(std::string("[PianoRoll]\nQuarterNoteWidth=") + c.width + "\nQuarterNoteHeight=" + c.height + "\n");
        MakeRoll();
        OpenSongWithMiddleC();
        roll->Show();
        Pump();
        EXPECT_EQ(roll->PianoRoll1->QuarterNoteWidth(), c.expectedWidth) << c.width;
        EXPECT_EQ(roll->PianoRoll1->QuarterNoteHeight(), c.expectedHeight) << c.height;
        // The roll paints at that zoom without a fault.
        roll->PianoRoll1->SetCurrentTime(480);
        roll->PianoRoll1->PaintBox()->Repaint();
        roll->PianoRoll1->SetCurrentTime(-1);
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoRollWindow, TheInfoStripDescribesTheSelectedNote)
{
    EXPECT_EQ(TfrmRoll::SelectionText(1, nullptr), "");
    TKVMidiEvent note;
    note.SetTrack(0);
    note.SetEvent(0x93);
    note.SetData1(60);
    note.SetData2(100);
    note.SetStartTime(480);
    EXPECT_EQ(TfrmRoll::SelectionText(1, &note),
              "Count:1, Track:1, Channel:3, Event:93, Data1:3C, Data2: 64, StartTime:480");
    // The roll's selection reaches the strip, and an emptied selection empties it.
    OpenSongWithMiddleC();
    roll->Show();
    Pump();
    Click(roll->ModeButtons[1]);
    roll->PianoRoll1->SelectNote(test::FindNote(*main->MidiFile1, 60, 0));
    EXPECT_EQ(roll->PianoRoll1->InfoText(), "Count:1, Track:1, Channel:0, Event:90, Data1:3C, Data2: 64, StartTime:0");
    roll->PianoRoll1->ClearSelection();
    EXPECT_EQ(roll->PianoRoll1->InfoText(), "");
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoRollWindow, TheRollLetsGoOfTheSongWhenTheMainWindowGoes)
{
    OpenSongWithMiddleC();
    ASSERT_FALSE(roll->PianoRoll1->MidiEventList().empty());
    options.reset();
    main.reset();
    EXPECT_EQ(roll->PianoRoll1->MidiFile(), nullptr);
    EXPECT_TRUE(roll->PianoRoll1->MidiEventList().empty());
}

} // namespace
} // namespace kv
