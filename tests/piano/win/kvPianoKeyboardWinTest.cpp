// The on-screen piano in a real window: painting, posted mouse messages, and notes arriving from
// another thread while it repaints.
#include "piano/win/kvPianoKeyboard.h"

#include "gui/win/TApplication.h"
#include "gui/win/TForm.h"
#include "piano/kvPaintCommonPixels.h"
#include "piano/kvPianoTestSupport.h"
#include "support/HostRequirements.h"
#include "support/SharedStateLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <tuple>
#include <vector>

namespace kv {
namespace {

using Report = std::tuple<int, int, int>;

class PianoWindow : public KeyLayoutTest {
protected:
    // Wine lets only the foreground window's thread capture the mouse and clip the cursor, and
    // other test programs show windows on the same display at any moment. This suite's windows
    // live on a desktop of their own, whose foreground nobody else takes. (A thread that has
    // made windows already cannot move: the suite then stays on the default desktop.)
    static void SetUpTestSuite()
    {
        static HDESK desktop = CreateDesktopW(L"KvPianoWindowTest", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        if (desktop) SetThreadDesktop(desktop);
    }
    PianoWindow()
    {
        Application()->OnException = [this](const std::string& message) { errors.push_back(message); };
        form = new TForm(&owner);
        form->SetClientSize(960, 140);
        form->SetBounds(0, 0, form->Width(), form->Height());
        form->Show();
        piano = new TKVPianoKeyboard(form);
        piano->SetLeft(4);
        piano->SetTop(4);
        piano->SetParent(form);
        piano->SetPianoKeyWidth(18);
        piano->SetPianoFixed(true);
        piano->OnKeyboard = [this](std::uint8_t e, std::uint8_t d1, std::uint8_t d2) { reports.emplace_back(e, d1, d2); };
        Pump();
    }
    ~PianoWindow() override
    {
        Application()->OnException = nullptr;
    }
    void Pump()
    {
        Application()->ProcessMessages();
        UpdateWindow(form->Handle());
        Application()->ProcessMessages();
    }
    std::uint32_t CachedPixel(int x, int y)
    {
        return reinterpret_cast<const std::uint32_t*>(piano->CachedBmp.ScanLine(y))[x] & 0xFFFFFF;
    }
    void PostMouse(UINT msg, WPARAM keys, int x, int y)
    {
        const TPoint screen = piano->PaintBox()->ClientToScreen({x, y});
        SetCursorPos(screen.X, screen.Y);
        PostMessageW(piano->PaintBox()->Handle(), msg, keys, MAKELPARAM(x, y));
        Application()->ProcessMessages();
    }
    static bool CursorFree()
    {
        RECT clip;
        GetClipCursor(&clip);
        return clip.left <= 0 && clip.top <= 0 && clip.right >= GetSystemMetrics(SM_CXSCREEN) &&
               clip.bottom >= GetSystemMetrics(SM_CYSCREEN);
    }

    // These tests move the real cursor over their windows.
    const SharedStateLock cursor_{kRealCursorLock};
    TComponent owner{nullptr};
    TForm* form = nullptr;
    TKVPianoKeyboard* piano = nullptr;
    std::vector<Report> reports;
    std::vector<std::string> errors;
};

TEST_F(PianoWindow, FixedModeSizeAndLitKeyAtItsRectangle)
{
    EXPECT_EQ(piano->Width(), 950);
    EXPECT_EQ(piano->Height(), 127);
    EXPECT_EQ(piano->PaintBox()->Width(), 950);
    EXPECT_FALSE(piano->ButtonL()->Visible());

    const TColor lit = RGBColor(20, 180, 90);
    piano->DoMidiShort(0x90, 60, 100, lit);
    piano->DoMidiShort(0x90, 61, 100, clRed);
    Pump();
    ASSERT_EQ(piano->CachedBmp.Width(), 950);
    const TRect c4 = piano->Geometry().KeyRect(60);
    const TRect cs4 = piano->Geometry().KeyRect(61);
    EXPECT_EQ(CachedPixel(c4.Left + 3, 110), ColorToPixel(lit));
    EXPECT_EQ(CachedPixel(c4.Right - 3, 110), ColorToPixel(lit));
    EXPECT_EQ(CachedPixel((cs4.Left + cs4.Right) / 2, 50), ColorToPixel(clRed));
    EXPECT_EQ(CachedPixel(c4.Left, 110), 0u);                              // the black outline
    EXPECT_EQ(CachedPixel(c4.Right + 3, 110), ColorToPixel(clWhite));      // D4 unlit
    EXPECT_EQ(CachedPixel(c4.Left - 3, 110), ColorToPixel(clWhite));       // B3 unlit

    piano->DoMidiShort(0x80, 60, 0);
    Pump();
    EXPECT_EQ(CachedPixel(c4.Left + 3, 110), ColorToPixel(clWhite));
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoWindow, PostedMousePlaysAGlissandoAndReleasesCaptureAndClipping)
{
    const TKVPianoGeometry g = piano->Geometry();
    const int y = 110;
    auto middleOf = [&](int key) { const TRect r = g.KeyRect(key); return (r.Left + r.Right) / 2; };
    PostMouse(WM_LBUTTONDOWN, MK_LBUTTON, middleOf(60), y);
    EXPECT_EQ(GetCapture(), piano->PaintBox()->Handle());
    EXPECT_FALSE(CursorFree()) << "the cursor was not clipped to the keys: " << kWineXLibrariesHint;
    PostMouse(WM_MOUSEMOVE, MK_LBUTTON, middleOf(62), y);
    PostMouse(WM_MOUSEMOVE, MK_LBUTTON, middleOf(64), y);
    PostMouse(WM_LBUTTONUP, 0, middleOf(64), y);
    EXPECT_EQ(reports, (std::vector<Report>{{0x90, 60, 80}, {0x80, 60, 64}, {0x90, 62, 80}, {0x80, 62, 64},
                                            {0x90, 64, 80}, {0x80, 64, 64}}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(CursorFree());
    EXPECT_TRUE(piano->PressedKeys().empty());

    // A release outside the keys area still ends the note and frees the mouse.
    reports.clear();
    PostMouse(WM_LBUTTONDOWN, MK_LBUTTON, middleOf(72), y);
    PostMessageW(piano->PaintBox()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    Application()->ProcessMessages();
    EXPECT_EQ(reports, (std::vector<Report>{{0x90, 72, 80}, {0x80, 72, 64}}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(CursorFree());
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoWindow, NotesFromAnotherThreadWhileRepainting)
{
    std::atomic<bool> done{false};
    std::thread driver([&] {
        for (int i = 0; i < 100000; ++i) {
            const auto note = static_cast<std::uint8_t>(21 + i % 88);
            piano->DoMidiShort(i % 3 == 2 ? 0x80 : 0x90, note, 100, RGBColor(i & 0xFF, 90, 200));
        }
        piano->DoMidiShort(0xB0, 123, 0);
        done = true;
    });
    int paints = 0;
    while (!done) {
        piano->PaintBox()->Repaint();
        Application()->ProcessMessages();
        ++paints;
    }
    driver.join();
    Pump();
    EXPECT_GT(paints, 0);
    EXPECT_TRUE(piano->PressedKeys().empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoWindow, PaintTime)
{
    for (int note = 21; note <= 108; note += 3) piano->DoMidiShort(0x90, static_cast<std::uint8_t>(note), 100, clRed);
    piano->SetPianoLable(klNote);
    Pump();
    constexpr int rounds = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) piano->PaintBox()->Repaint();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("piano paint: %.3f ms per paint (950 x 127, labels, 30 lit keys)\n", ms / rounds);
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoWindow, FreeModeShowsTheArrowsAndTheyMoveTheOctave)
{
    piano->SetPianoFixed(false);
    Pump();
    EXPECT_TRUE(piano->ButtonL()->Visible());
    EXPECT_EQ(piano->Width(), 7 * 18 * 6 + 14);
    EXPECT_EQ(piano->ButtonR()->Left(), piano->Width() - 6 - 17);
    SendMessageW(piano->ButtonR()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(piano->ButtonR()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(piano->PianoOctave(), 3);
    EXPECT_TRUE(errors.empty());
}

} // namespace
} // namespace kv
