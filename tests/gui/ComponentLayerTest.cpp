// The component layer's edges: exceptions stop at the window procedure, the canvas is unbound
// after a failed paint, children follow their anchors, owned controls go with their owner.
#include "base/Exceptions.h"
#include "gui/win/TApplication.h"
#include "gui/win/TBitmap.h"
#include "gui/win/TCustomControl.h"
#include "gui/win/TForm.h"
#include "gui/win/TTimer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace kv {
namespace {

class ThrowingControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    bool painted = false;
    bool boundDuringPaint = false;

protected:
    void Paint() override
    {
        painted = true;
        boundDuringPaint = Canvas().HandleAllocated();
        throw std::runtime_error("paint failed on purpose");
    }
};

struct ComponentLayer : ::testing::Test {
    ComponentLayer()
    {
        Application()->OnException = [this](const std::string& m) { errors.push_back(m); };
        form = new TForm(&owner);
        form->SetClientSize(200, 100);
        form->Show();
    }
    ~ComponentLayer() override { Application()->OnException = nullptr; }
    TComponent owner{nullptr};
    TForm* form = nullptr;
    std::vector<std::string> errors;
};

TEST_F(ComponentLayer, AnExceptionInPaintReachesTheApplicationAndTheLoopGoesOn)
{
    auto* control = new ThrowingControl(form);
    control->SetBounds(10, 10, 50, 50);
    control->SetParent(form);
    control->Repaint();
    Application()->ProcessMessages();
    EXPECT_TRUE(control->painted);
    EXPECT_TRUE(control->boundDuringPaint);
    EXPECT_FALSE(control->Canvas().HandleAllocated());
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.front(), "paint failed on purpose");
    // The window still works.
    EXPECT_TRUE(IsWindow(control->Handle()));
}

TEST_F(ComponentLayer, AnchoredChildrenFollowTheirParent)
{
    auto* panel = new TCustomControl(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 200, 100);
    auto* stretched = new TCustomControl(form);
    stretched->SetParent(panel);
    stretched->SetBounds(5, 5, 190, 90);
    stretched->SetAnchors(akLeft | akTop | akRight | akBottom);
    auto* right = new TCustomControl(form);
    right->SetParent(panel);
    right->SetBounds(170, 5, 20, 20);
    right->SetAnchors(akTop | akRight);
    panel->SetBounds(0, 0, 300, 150);
    EXPECT_EQ(stretched->BoundsRect(), Rect(5, 5, 295, 145));
    EXPECT_EQ(right->BoundsRect(), Rect(270, 5, 290, 25));
    RECT r;
    GetWindowRect(stretched->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 290);
}

TEST_F(ComponentLayer, OwnedControlsAndTheirWindowsGoWithTheOwner)
{
    auto* parent = new TCustomControl(form);
    parent->SetParent(form);
    auto* child = new TCustomControl(parent);
    child->SetParent(parent);
    HWND childWindow = child->Handle();
    ASSERT_TRUE(IsWindow(childWindow));
    delete parent;
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(ComponentLayer, TimerEventsRunOnTheLoopAndTheirExceptionsAreCaught)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        ++ticks;
        throw std::runtime_error("tick failed");
    };
    timer.SetInterval(10);
    const DWORD until = GetTickCount() + 30000; // only a timer that never fires waits this long
    while (ticks < 2 && GetTickCount() < until) {
        Application()->ProcessMessages();
        Sleep(5);
    }
    timer.SetEnabled(false);
    EXPECT_GE(ticks, 2);
    EXPECT_EQ(errors.size(), static_cast<std::size_t>(ticks));
}

TEST_F(ComponentLayer, BitmapScanLinesAreTopDownAndFormatChangesKeepThePicture)
{
    TBitmap bmp;
    bmp.SetSize(3, 2);
    bmp.Canvas().Brush().SetColor(RGBColor(1, 2, 3));
    bmp.Canvas().FillRect({0, 1, 3, 2});
    EXPECT_EQ(reinterpret_cast<std::uint32_t*>(bmp.ScanLine(1))[2] & 0xFFFFFF, 0x010203u);
    bmp.SetPixelFormat(pf24bit);
    EXPECT_EQ(bmp.BytesPerLine(), 12);
    const std::uint8_t* row = bmp.ScanLine(1);
    EXPECT_EQ(row[0], 3);
    EXPECT_EQ(row[2], 1);
    EXPECT_THROW(bmp.ScanLine(2), EListError);
}

TEST_F(ComponentLayer, CanvasObjectCacheReusesPensBrushesAndFontsAndFreesThemAll)
{
    struct Case {
        std::size_t cacheSize;
        int colors;
        std::uint64_t madeAfterTheFirst; // over 60 fills cycling through the colours
        std::size_t mostAlive;           // of the brushes seen, the most not yet freed
    };
    const Case cases[] = {{0, 3, 60, 1}, {3, 3, 2, 3}, {3, 5, 60, 3}, {8, 5, 4, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cache " << c.cacheSize << ", " << c.colors << " colours");
        std::vector<HGDIOBJ> seen;
        const auto alive = [&] {
            std::size_t n = 0;
            for (HGDIOBJ h : seen) n += GetObjectType(h) == OBJ_BRUSH ? 1 : 0;
            return n;
        };
        std::size_t mostAlive = 0;
        {
            TBitmap bmp;
            bmp.SetSize(4, 1);
            bmp.Canvas().SetObjectCacheSize(c.cacheSize);
            const auto fill = [&](int i) {
                const auto red = static_cast<std::uint8_t>(10 + (i % c.colors));
                const TColor color = RGBColor(red, 20, 30);
                bmp.Canvas().Brush().SetColor(color);
                bmp.Canvas().FillRect({0, 0, 4, 1});
                const HGDIOBJ brush = GetCurrentObject(bmp.Canvas().Handle(), OBJ_BRUSH);
                if (std::find(seen.begin(), seen.end(), brush) == seen.end()) seen.push_back(brush);
                mostAlive = std::max(mostAlive, alive());
                ASSERT_EQ(reinterpret_cast<std::uint32_t*>(bmp.ScanLine(0))[3] & 0xFFFFFF, (red << 16) | (20u << 8) | 30u) << i;
            };
            fill(0);
            const std::uint64_t first = bmp.Canvas().ObjectsMade();
            for (int i = 1; i <= 60; ++i) fill(i);
            EXPECT_EQ(bmp.Canvas().ObjectsMade() - first, c.madeAfterTheFirst);
        }
        EXPECT_EQ(mostAlive, c.mostAlive);
        EXPECT_EQ(alive(), 0u); // the canvas freed every brush it made
    }
}

} // namespace
} // namespace kv
