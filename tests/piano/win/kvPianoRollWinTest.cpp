// The piano roll in a real window: the pixels of ticks, notes cut by the notes area, lit frames,
// and posted mouse messages that edit the song.
#include "piano/win/kvPianoRoll.h"

#include "gui/win/TApplication.h"
#include "gui/win/TForm.h"
#include "piano/kvPaintCommonGeometry.h"
#include "piano/kvPaintCommonPixels.h"
#include "piano/win/kvPaintCommon.h"
#include "piano/kvPianoRollTestSupport.h"
#include "support/HostRequirements.h"
#include "support/SharedStateLock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace kv {
namespace {

using test::FindNote;
using test::MakeRollSong;
using test::RollNote;

constexpr TColor NoteFill = 0x00FF00;
constexpr TColor Background = 0x4D4333;
constexpr TColor Yellow = 0x00FFFF;

class RollWindow : public ::testing::Test {
protected:
    // Capture and cursor clipping need the foreground: this suite's windows live on a desktop of
    // their own (see the on-screen piano's window tests).
    static void SetUpTestSuite()
    {
        static HDESK desktop = CreateDesktopW(L"KvPianoRollTest", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        if (desktop) SetThreadDesktop(desktop);
    }
    RollWindow()
    {
        Application()->OnException = [this](const std::string& message) { errors.push_back(message); };
        form = new TForm(&owner);
        form->SetClientSize(660, 380);
        form->SetBounds(0, 0, form->Width(), form->Height());
        form->Show();
        roll = new TKVPianoRoll(form);
        roll->SetParent(form);
        roll->SetBounds(0, 0, 640, 360);
        roll->OnMidiEvent = [this](TKVMidiEvent* e) { sound.Take(e); };
        Pump();
    }
    ~RollWindow() override
    {
        delete form;
        form = nullptr;
        Application()->OnException = nullptr;
    }
    // A song whose highest note 72 comes to the top row (59); its tracks fill notes in green.
    void Show(std::vector<RollNote> notes)
    {
        notes.push_back({0, 72, 0, 10});
        song = MakeRollSong(480, notes, 2);
        for (int t = 0; t < song->TrackCount(); ++t) song->GetTrack(t)->SetTrackColor(NoteFill);
        roll->SetMidiFile(song.get());
        Pump();
    }
    void Pump()
    {
        Application()->ProcessMessages();
        UpdateWindow(roll->PaintBox()->Handle());
        Application()->ProcessMessages();
    }
    std::uint32_t Pixel(int x, int y)
    {
        return reinterpret_cast<const std::uint32_t*>(roll->CachedBmp.ScanLine(y))[x] & 0xFFFFFF;
    }
    void PostMouse(UINT msg, WPARAM keys, int x, int y)
    {
        const TPoint screen = roll->PaintBox()->ClientToScreen({x, y});
        SetCursorPos(screen.X, screen.Y);
        PostMessageW(roll->PaintBox()->Handle(), msg, keys, MAKELPARAM(x, y));
        Pump();
    }
    void Click(int x, int y, bool right = false)
    {
        PostMouse(WM_MOUSEMOVE, 0, x, y);
        PostMouse(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, x, y);
        PostMouse(right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, x, y);
    }
    static bool CursorFree()
    {
        RECT clip;
        GetClipCursor(&clip);
        return clip.left <= 0 && clip.top <= 0 && clip.right >= GetSystemMetrics(SM_CXSCREEN) &&
               clip.bottom >= GetSystemMetrics(SM_CYSCREEN);
    }
    TPoint Middle(const TKVMidiEvent* note)
    {
        const TRect r = roll->GetNoteRect(note);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }

    // These tests move the real cursor over their windows.
    const SharedStateLock cursor_{kRealCursorLock};
    TComponent owner{nullptr};
    TForm* form = nullptr;
    TKVPianoRoll* roll = nullptr;
    std::unique_ptr<TKVMidiFile> song;
    test::SoundLog sound;
    std::vector<std::string> errors;
};

TEST_F(RollWindow, ChildrenFollowTheRollsSize)
{
    EXPECT_EQ(roll->PaintBox()->Width(), 623);
    EXPECT_EQ(roll->PaintBox()->Height(), 343);
    EXPECT_EQ(roll->VertScrollBar()->Left(), 623);
    EXPECT_EQ(roll->HorzScrollBar()->Top(), 343);
    EXPECT_EQ(roll->HorzTrackBar()->Position(), 64);
    EXPECT_EQ(roll->VertTrackBar()->Position(), 6);
    roll->SetQuarterNoteWidth(0); // as a settings file may say
    EXPECT_EQ(roll->HorzTrackBar()->Position(), 16);
    roll->HorzTrackBar()->SetPosition(128);
    EXPECT_EQ(roll->QuarterNoteWidth(), 128);
}

TEST_F(RollWindow, NotesStandAtThePixelsOfTheirTicks)
{
    Show({{1, 60, 960, 1440}});
    const TRect r = roll->GetNoteRect(FindNote(*song, 60, 960));
    ASSERT_EQ(r, Rect(190, 21 + (71 - 59) * 8 + 1, 254, 21 + (72 - 59) * 8 - 1));
    const int y = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(Pixel(190, y), ColorToPixel(clBlack)); // outline
    EXPECT_EQ(Pixel(191, y), ColorToPixel(NoteFill));
    EXPECT_EQ(Pixel(252, y), ColorToPixel(NoteFill));
    EXPECT_EQ(Pixel(182, y), ColorToPixel(0x453B2B)); // a grid line every 8 pixels at 64 per quarter
    EXPECT_EQ(Pixel(188, y), ColorToPixel(Background));
    EXPECT_EQ(Pixel(62 + 64, y), ColorToPixel(0x3B3121)); // darker on quarter notes
    // Ruler ticks: white at the top of x = 126, 190, ..., none at the left edge.
    EXPECT_EQ(Pixel(126, 1), ColorToPixel(clWhite));
    EXPECT_EQ(Pixel(190, 1), ColorToPixel(clWhite));
    EXPECT_EQ(Pixel(158, 1), ColorToPixel(0x473D2D));
    EXPECT_TRUE(errors.empty());
}

TEST_F(RollWindow, NoteCutByTheLeftEdgeHasNoLeftOutline)
{
    Show({{1, 60, 480, 4800}});
    roll->SetHorzPosition(2);
    Pump();
    const TRect r = roll->GetNoteRect(FindNote(*song, 60, 480));
    ASSERT_LT(r.Left, 62);
    const int y = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(Pixel(62, y), ColorToPixel(NoteFill));
    EXPECT_EQ(Pixel(63, y), ColorToPixel(NoteFill));
    EXPECT_EQ(Pixel(r.Right - 1, y), ColorToPixel(NoteFill));
    EXPECT_EQ(Pixel(r.Right, y), ColorToPixel(clBlack));
    EXPECT_EQ(Pixel(62, r.Top), ColorToPixel(clBlack)); // its top edge still runs to the area's edge
}

TEST_F(RollWindow, NothingIsDrawnOutsideTheNotesArea)
{
    // Notes reaching past every side: before the view, after it, above and below the shown rows.
    Show({{1, 60, 0, 96000}, {1, 70, 480, 1440}, {1, 20, 480, 1440}, {1, 71, 0, 960}, {1, 30, 0, 96000}});
    roll->SetHorzPosition(1);
    Pump();
    const TRect area = roll->Geometry().NotesRect();
    int outside = 0, inside = 0;
    for (int y = 0; y < roll->CachedBmp.Height(); ++y)
        for (int x = 0; x < roll->CachedBmp.Width(); ++x)
            if (Pixel(x, y) == ColorToPixel(NoteFill)) ++(PtInRect(area, {x, y}) ? inside : outside);
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}

TEST_F(RollWindow, LitNotesAreFramedAndGoSilentWhenTheRollIsHidden)
{
    Show({{1, 60, 960, 1440}, {1, 64, 960, 1920}});
    roll->SetCurrentTime(1000);
    Pump();
    EXPECT_EQ(sound.ons, 2);
    const TRect r = roll->GetNoteRect(FindNote(*song, 64, 960));
    EXPECT_EQ(Pixel((r.Left + r.Right) / 2, r.Top), ColorToPixel(Yellow));
    EXPECT_EQ(Pixel(r.Left, (r.Top + r.Bottom) / 2), ColorToPixel(Yellow));
    // The play cursor at x = 61 + 133.
    EXPECT_NE(Pixel(194, 30), ColorToPixel(Background));
    EXPECT_EQ(Pixel(196, 30), ColorToPixel(Background));

    roll->SetVisible(false);
    Pump();
    EXPECT_EQ(sound.offs, 2);
    EXPECT_TRUE(sound.Silent());
}

TEST_F(RollWindow, PostedClicksInsertMoveAndDeleteNotes)
{
    Show({{1, 65, 1920, 2400}});
    roll->SetPlayMode(pmInsert);
    // Pitch 60 is row 71, 12 rows below the top: y = 22 + 12 x 8 + 4.
    Click(189, 22 + 12 * 8 + 4);
    TKVMidiEvent* inserted = FindNote(*song, 60, 960);
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(inserted->TimeLength(), 480);

    // Drag it a quarter note right and two rows up; the release lies outside the notes area.
    roll->SetPlayMode(pmEdit);
    const TPoint p = Middle(inserted);
    PostMouse(WM_MOUSEMOVE, 0, p.X - 20, p.Y);
    PostMouse(WM_LBUTTONDOWN, MK_LBUTTON, p.X - 20, p.Y);
    EXPECT_EQ(sound.ons, 1);
    EXPECT_EQ(GetCapture(), roll->PaintBox()->Handle());
    EXPECT_FALSE(CursorFree()) << "the cursor was not clipped to the notes area: " << kWineXLibrariesHint;
    PostMouse(WM_MOUSEMOVE, MK_LBUTTON, p.X + 44, p.Y - 16);
    PostMouse(WM_LBUTTONUP, 0, p.X + 44, p.Y - 16);
    EXPECT_EQ(inserted->StartTime(), 1440);
    EXPECT_EQ(inserted->Data1(), 62);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(CursorFree());
    EXPECT_TRUE(sound.Silent());

    // A right click deletes the note under the pointer in insert mode.
    roll->SetPlayMode(pmInsert);
    const TPoint q = Middle(inserted);
    Click(q.X, q.Y, true);
    EXPECT_EQ(FindNote(*song, 62, 1440), nullptr);
    EXPECT_NE(FindNote(*song, 65, 1920), nullptr);
    EXPECT_TRUE(sound.Silent());
    EXPECT_TRUE(errors.empty());
}

TEST_F(RollWindow, ScrollBarsWheelResetAndDoubleClick)
{
    Show({{1, 60, 960, 1440}, {1, 40, 0, 48000}});
    ASSERT_EQ(roll->VertPosition(), 59);
    SendMessageW(roll->Handle(), WM_VSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(roll->VertScrollBar()->Handle()));
    EXPECT_EQ(roll->VertPosition(), 63);
    EXPECT_EQ(roll->NotePosition(), 63);
    SendMessageW(roll->Handle(), WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(roll->HorzScrollBar()->Handle()));
    EXPECT_EQ(roll->HorzPosition(), 1);
    PostMessageW(roll->PaintBox()->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    Pump();
    EXPECT_EQ(roll->VertPosition(), 64);
    EXPECT_EQ(roll->VertScrollBar()->Position(), 64);

    // The reset button fits the song's 33 pitches: (343 - 19 - 21) / 33 - 2 = 7 pixels a note.
    roll->SetQuarterNoteWidth(200);
    PostMessageW(roll->ResetButton()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(roll->ResetButton()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(roll->QuarterNoteWidth(), 64);
    EXPECT_EQ(roll->QuarterNoteHeight(), 7);
    EXPECT_EQ(roll->VertTrackBar()->Position(), 7);

    roll->SetHorzPosition(0);
    roll->SetPlayMode(pmEdit);
    std::vector<TKVMidiEvent*> doubleClicked;
    roll->OnDblClickNote = [&](TKVMidiEvent* e) { doubleClicked.push_back(e); };
    TKVMidiEvent* note = FindNote(*song, 60, 960);
    const TPoint p = Middle(note);
    Click(p.X, p.Y);
    PostMouse(WM_LBUTTONDBLCLK, MK_LBUTTON, p.X, p.Y);
    PostMouse(WM_LBUTTONUP, 0, p.X, p.Y);
    EXPECT_EQ(doubleClicked, std::vector<TKVMidiEvent*>{note});
    EXPECT_EQ(note->StartTime(), 960);
    EXPECT_TRUE(sound.Silent());
    EXPECT_TRUE(errors.empty());
}

// The pointer's line across the ruler and the hovered note come from the box's own mouse
// messages: they show while the pointer is over the box and go when it leaves.
TEST_F(RollWindow, PointerLineAndHoverGoWhenThePointerLeaves)
{
    Show({{1, 60, 960, 1440}});
    roll->SetPlayMode(pmEdit);
    TKVMidiEvent* note = FindNote(*song, 60, 960);
    const TPoint p = Middle(note);
    const TRect ruler = roll->Geometry().RulerRect();
    const auto rulerColumn = [&] {
        std::vector<std::uint32_t> pixels;
        for (int y = ruler.Top; y < ruler.Bottom; ++y) pixels.push_back(Pixel(p.X, y));
        return pixels;
    };
    const auto hovered = [&] { return roll->SelectedNotes() == std::vector<TKVMidiEvent*>{note}; };
    // The system reports the leaving a moment after the pointer has gone.
    const auto leave = [&](const std::vector<std::uint32_t>& plain) {
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        for (int i = 0; i < 200 && (hovered() || rulerColumn() != plain); ++i) {
            Sleep(10);
            Pump();
        }
    };
    // The pointer may rest where an earlier test left it, over this box: it is taken away first,
    // and its leaving reported at once.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    TRACKMOUSEEVENT cancel{sizeof cancel, TME_CANCEL | TME_LEAVE, roll->PaintBox()->Handle(), 0};
    TrackMouseEvent(&cancel);
    PostMessageW(roll->PaintBox()->Handle(), WM_MOUSELEAVE, 0, 0);
    Pump();
    const std::vector<std::uint32_t> plain = rulerColumn();

    for (int visit = 0; visit < 2; ++visit) {
        PostMouse(WM_MOUSEMOVE, 0, p.X, p.Y);
        EXPECT_NE(rulerColumn(), plain) << visit;
        EXPECT_TRUE(hovered()) << visit;
        leave(plain);
        EXPECT_EQ(rulerColumn(), plain) << visit;
        EXPECT_TRUE(roll->SelectedNotes().empty()) << visit;
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(RollWindow, RepaintsMakeNoNewPensBrushesOrFonts)
{
    Show({{1, 60, 960, 1440}, {1, 64, 960, 1920}, {1, 71, 0, 96000}});
    const auto paintEveryWay = [&] {
        roll->SetPlayMode(pmPlay);
        roll->SetCurrentTime(1000); // lit notes and the cursor
        roll->PaintBox()->Repaint();
        roll->SetPlayMode(pmEdit);
        const TPoint p = Middle(FindNote(*song, 60, 960));
        PostMouse(WM_MOUSEMOVE, 0, p.X, p.Y); // a selected note
        roll->PaintBox()->Repaint();
        roll->SetHorzPosition(roll->HorzPosition() == 0 ? 1 : 0);
        roll->PaintBox()->Repaint();
    };
    paintEveryWay();
    const std::uint64_t made = roll->CachedBmp.Canvas().ObjectsMade();
    for (int i = 0; i < 20; ++i) paintEveryWay();
    EXPECT_EQ(roll->CachedBmp.Canvas().ObjectsMade(), made);
    EXPECT_TRUE(errors.empty());
}

TEST_F(RollWindow, GridLinesDrawnOnceMatchALinePerLane)
{
    TKVPianoRollGeometry g = roll->Geometry();
    for (TPixelFormat format : {pf32bit, pf24bit}) {
        for (int width : {16, 64, 100, 256}) {
            for (int height : {2, 6, 13}) {
                g.QuarterNoteWidth = width;
                g.QuarterNoteHeight = height;
                g.VertPosition = 40;
                TBitmap fast, plain;
                for (TBitmap* b : {&fast, &plain}) {
                    b->SetSize(g.Width, g.Height);
                    b->SetPixelFormat(format);
                    b->Canvas().Brush().SetColor(Background);
                    b->Canvas().FillRect({0, 0, g.Width, g.Height});
                }
                PaintRollGrid(fast, g);
                // Each lane outlined, then its own lines.
                TCanvas& c = plain.Canvas();
                const TRect area = g.NotesRect();
                for (int row = g.VertPosition; row <= g.LastVisibleRow(false); ++row) {
                    const TRect lane = g.RowRect(false, row);
                    c.Pen().SetColor(0x453B2B);
                    FrameRectEx(c, lane, 0, 0, 0, 0, 1);
                    const int n = static_cast<int>(std::ceil(static_cast<double>(RectWidth(area)) / width)) * 8 + 1;
                    for (int i = 1; i <= n; ++i) {
                        c.Pen().SetColor(i % 8 == 0 ? 0x3B3121 : 0x453B2B);
                        const int x = lane.Left + (i * width) / 8;
                        VerticalLine(c, {x, lane.Top}, {x, lane.Bottom}, area);
                    }
                }
                ASSERT_EQ(fast.PixelFormat(), plain.PixelFormat());
                int differing = 0;
                for (int y = 0; y < g.Height; ++y)
                    if (std::memcmp(fast.ScanLine(y), plain.ScanLine(y), static_cast<std::size_t>(fast.BytesPerLine())) != 0)
                        ++differing;
                EXPECT_EQ(differing, 0) << width << " x " << height << (format == pf32bit ? ", 32" : ", 24") << " bits";
                EXPECT_EQ(fast.Canvas().Pen().Color(), c.Pen().Color()); // the pen left as the lines leave it
            }
        }
    }
}

TEST_F(RollWindow, NotesWrittenDirectlyMatchTheDrawingRoutines)
{
    const TRect area{62, 21, 300, 200};
    // Inside, overlapping, cut on each side, cut at two corners, empty, and wholly outside.
    const std::vector<TRect> rects{{100, 50, 140, 56}, {120, 53, 180, 59}, {40, 70, 90, 76},  {280, 80, 340, 86},
                                   {150, 15, 170, 25}, {160, 195, 175, 230}, {50, 10, 400, 300}, {200, 90, 200, 96},
                                   {10, 100, 50, 106}, {100, 21, 110, 27},   {290, 60, 300, 66}};
    std::vector<TKVRollNote> notes;
    std::vector<TColor> colors;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        notes.push_back({nullptr, nullptr, 0, rects[i]});
        colors.push_back(RGBColor(static_cast<std::uint8_t>(40 * i), 200, static_cast<std::uint8_t>(255 - 20 * i)));
    }
    for (TPixelFormat format : {pf32bit, pf24bit}) {
        TBitmap fast, plain, scratch;
        for (TBitmap* b : {&fast, &plain}) {
            b->SetSize(320, 240);
            b->SetPixelFormat(format);
            b->Canvas().Brush().SetColor(Background);
            b->Canvas().FillRect({0, 0, 320, 240});
            b->Canvas().Pen().SetColor(clBlack);
            b->Canvas().Pen().SetWidth(1);
        }
        PaintRollNotes(fast, notes, colors, area);
        for (std::size_t i = 0; i < notes.size(); ++i) {
            plain.Canvas().Brush().SetColor(colors[i]);
            FillRectViaBitmap(plain, scratch, rects[i], area, false, clNone);
            ClippedFrameRect(plain.Canvas(), rects[i], area, 0, 0, 0, 0, 0, true);
        }
        ASSERT_EQ(fast.PixelFormat(), plain.PixelFormat());
        int differing = 0;
        for (int y = 0; y < 240; ++y)
            if (std::memcmp(fast.ScanLine(y), plain.ScanLine(y), static_cast<std::size_t>(fast.BytesPerLine())) != 0)
                ++differing;
        EXPECT_EQ(differing, 0) << (format == pf32bit ? "32" : "24") << " bits per pixel";
    }
}

TEST_F(RollWindow, FollowsAPlayingSongOnScreen)
{
    std::vector<RollNote> notes;
    for (int i = 0; i < 64; ++i) notes.push_back({1 + i % 1, 60 + (i * 5) % 13, i * 240, i * 240 + 360 + (i % 3) * 120});
    Show(notes);
    song->GetTrack(1)->SetTrackColor(RGBColor(90, 170, 255));
    roll->SetInfoText("Playing: 0:04");
    for (int t = 0; t <= 4400; t += 40) {
        roll->SetCurrentTime(t);
        Pump();
    }
    EXPECT_GT(roll->HorzPosition(), 0); // the view followed the cursor
    EXPECT_FALSE(roll->LitNotes().empty());
    // A picture to look at: the form as the screen shows it, its windows printed into a bitmap.
    TBitmap shot;
    shot.SetSize(form->ClientWidth(), form->ClientHeight());
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (TWinControl* w : {static_cast<TWinControl*>(roll->HorzScrollBar()), static_cast<TWinControl*>(roll->VertScrollBar()),
                           static_cast<TWinControl*>(roll->HorzTrackBar()), static_cast<TWinControl*>(roll->VertTrackBar()),
                           static_cast<TWinControl*>(roll->PaintBox())}) {
        HDC dc = GetDC(w->Handle());
        BitBlt(shot.Canvas().Handle(), w->Left(), w->Top(), w->Width(), w->Height(), dc, 0, 0, SRCCOPY);
        ReleaseDC(w->Handle(), dc);
    }
    EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(shot.ScanLine(100))[100] & 0xFFFFFF, Pixel(100, 100));
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = shot.Width();
    info.biHeight = -shot.Height();
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD bytes = static_cast<DWORD>(shot.BytesPerLine() * shot.Height());
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bytes;
    // Beside the test program.
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length);
    name = name.substr(0, name.find_last_of(L'\\') + 1) + L"piano_roll_playing.bmp";
    if (FILE* out = _wfopen(name.c_str(), L"wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(shot.ScanLine(0), 1, bytes, out);
        std::fclose(out);
    }
    roll->Clear();
    EXPECT_TRUE(sound.Silent());
}

} // namespace
} // namespace kv
