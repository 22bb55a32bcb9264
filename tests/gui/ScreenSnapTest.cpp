// A dragged window snaps to the work area's edges within the snap distance, on each axis on its
// own, keeping its size; beyond the distance it stays where it was dragged.
#include "gui/ScreenSnap.h"
#include "gui/win/TApplication.h"
#include "gui/win/TForm.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(ScreenSnap, EdgesWithinTheDistanceMoveOntoTheWorkArea)
{
    const TRect area{0, 0, 1280, 1000};
    struct Case {
        TRect dragged, expected;
    };
    for (const Case& c : {
             Case{{5, 300, 405, 500}, {0, 300, 400, 500}},        // left edge 5 px in
             Case{{-10, 300, 390, 500}, {0, 300, 400, 500}},      // 10 px out: still snaps
             Case{{-11, 300, 389, 500}, {-11, 300, 389, 500}},    // 11 px out: left where dragged
             Case{{870, 300, 1272, 500}, {878, 300, 1280, 500}},  // right edge
             Case{{300, 8, 700, 208}, {300, 0, 700, 200}},        // top
             Case{{300, 795, 700, 995}, {300, 800, 700, 1000}},   // bottom
             Case{{4, 996, 404, 1196}, {0, 996, 400, 1196}},      // bottom 196 px below: only the left snaps
             Case{{3, 3, 1283, 1003}, {0, 0, 1280, 1000}},        // as large as the area: the low edges win
         }) {
        EXPECT_EQ(SnapToWorkArea(c.dragged, area, 10), c.expected) << c.dragged.Left << "," << c.dragged.Top;
    }
}

TEST(ScreenSnap, AFormSnapsWhileItIsDraggedOnlyWhenAsked)
{
    TComponent owner(nullptr);
    auto* form = new TForm(&owner);
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (bool snap : {false, true}) {
        form->SetScreenSnap(snap);
        RECT dragged{work.left + 6, work.top + 40, work.left + 306, work.top + 240};
        SendMessageW(form->Handle(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&dragged));
        EXPECT_EQ(dragged.left, snap ? work.left : work.left + 6);
        EXPECT_EQ(dragged.right - dragged.left, 300);
        EXPECT_EQ(dragged.top, work.top + 40);
    }
}

} // namespace
} // namespace kv
