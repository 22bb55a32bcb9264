// The background window's picture checked by its pixels: the gradient's split and ends, a page
// image anchored from the right, a tiled and a transparent page image, and a slideshow of three
// images that advances with the progress and holds each update to its minimum time.
#include "installer/install/InstallEngine.h"
#include "installer/install/ForwardingFileSystem.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/install/InstallRun.h"
#include "installer/state/InstallerState.h"
#include "installer/wizard/win/BackgroundPicture.h"
#include "installer/wizard/win/BackgroundWindow.h"

#include "BmpWriting.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr COLORREF kTop = RGB(0, 0, 200);
constexpr COLORREF kSplit = RGB(0, 200, 0);
constexpr COLORREF kBottom = RGB(200, 0, 0);

std::string tempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "kv_background_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

COLORREF pixel(int x, int y)
{
    return GetPixel(static_cast<HDC>(gInstallerContext.screenDc), x, y);
}

// Saves the picture as a .bmp in the folder KV_SCREENSHOT_DIR names, when it names one.
void saveScreenshot(const char* name)
{
    const char* folder = std::getenv("KV_SCREENSHOT_DIR");
    if (!folder)
        return;
    HDC dc = static_cast<HDC>(gInstallerContext.screenDc);
    HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    std::vector<unsigned char> pixels(static_cast<std::size_t>((kWidth * 3 + 3) / 4 * 4) * kHeight);
    GetDIBits(dc, bitmap, 0, kHeight, pixels.data(), &info, DIB_RGB_COLORS);
    writeBmp(std::string(folder) + "/" + name + ".bmp", kWidth, kHeight, [&](int x, int y) {
        const unsigned char* p = &pixels[static_cast<std::size_t>(kHeight - 1 - y) * ((kWidth * 3 + 3) / 4 * 4) + x * 3];
        return RGB(p[2], p[1], p[0]);
    });
}

class BackgroundWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedStyle_ = gBackgroundStyle;
        savedArea_ = gInstallerContext.clientArea;
        gInstallerContext.clientArea = {0, 0, kWidth, kHeight};
        gBackgroundStyle = BackgroundStyle{};
        gBackgroundStyle.flags = kBackgroundDrawn;
        gBackgroundStyle.topColour = kTop;
        gBackgroundStyle.splitColour = kSplit;
        gBackgroundStyle.bottomColour = kBottom;
        gBackgroundStyle.splitPercent = 50;
        window_ = createBackgroundWindow(GetModuleHandleW(nullptr));
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override
    {
        releaseBackgroundPicture();
        if (window_)
            DestroyWindow(window_);
        gInstallerContext.mainWindow = nullptr;
        gMainInstaller.mainWindow = nullptr;
        gTempFilePaths.pageImageBitmap = ByteString();
        gBackgroundStyle = savedStyle_;
        gInstallerContext.clientArea = savedArea_;
    }
    void usePageImage(const std::string& path)
    {
        gTempFilePaths.pageImageBitmap = ByteString(path.c_str());
    }

    HWND window_ = nullptr;
    BackgroundStyle savedStyle_;
    AreaRect savedArea_;
};

TEST_F(BackgroundWindowTest, GradientMeetsTheSplitAndBottomColoursOnTheirRows)
{
    ASSERT_TRUE(drawBackground(window_));
    EXPECT_EQ(gInstallerContext.mainWindow, window_);
    for (int x : {0, 200, kWidth - 1}) {
        EXPECT_EQ(pixel(x, 0), kTop);
        EXPECT_EQ(pixel(x, 150), kSplit);
        EXPECT_EQ(pixel(x, kHeight - 1), kBottom);
    }
    EXPECT_NE(pixel(200, 149), kSplit);
    // The window shows the picture when it erases its background.
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
    HDC dc = GetDC(window_);
    EXPECT_EQ(GetPixel(dc, 200, 150), kSplit);
    ReleaseDC(window_, dc);
    saveScreenshot("background_gradient");
}

TEST_F(BackgroundWindowTest, SplitAtEitherEndStillPaintsEveryRow)
{
    for (std::uint32_t percent : {0u, 100u, 250u}) {
        gBackgroundStyle.splitPercent = percent;
        ASSERT_TRUE(drawBackground(window_)) << percent;
        EXPECT_EQ(pixel(10, 0), percent == 0 ? kSplit : kTop) << percent;
        const COLORREF last = pixel(10, kHeight - 1);
        EXPECT_EQ(last, percent == 0 ? kBottom : RGB(0, 199, 1)) << percent;
    }
}

TEST_F(BackgroundWindowTest, PageImageAnchoredFromTheRightIsReadOnceAndKeptForRedraws)
{
    const std::string path = tempPath("right.bmp");
    writeBmp(path, 40, 20, [](int, int) { return RGB(255, 255, 0); });
    usePageImage(path);
    gBackgroundStyle.imageX = 0x80000005;
    gBackgroundStyle.imageY = 30;
    ASSERT_TRUE(drawBackground(window_));
    EXPECT_EQ(pixel(kWidth - 45, 30), RGB(255, 255, 0));
    EXPECT_EQ(pixel(kWidth - 6, 49), RGB(255, 255, 0));
    EXPECT_NE(pixel(kWidth - 46, 30), RGB(255, 255, 0));
    EXPECT_NE(pixel(kWidth - 5, 30), RGB(255, 255, 0));
    EXPECT_NE(pixel(kWidth - 45, 50), RGB(255, 255, 0));
    EXPECT_FALSE(fileExists(path));
    EXPECT_TRUE(gTempFilePaths.pageImageBitmap.empty());
    saveScreenshot("background_right_image");
    // The display settings change: the background is drawn anew, with its image.
    SendMessageW(window_, WM_DISPLAYCHANGE, 32, MAKELPARAM(kWidth, kHeight));
    EXPECT_EQ(pixel(kWidth - 45, 30), RGB(255, 255, 0));
    EXPECT_EQ(pixel(kWidth - 6, 49), RGB(255, 255, 0));
    EXPECT_NE(pixel(kWidth - 46, 30), RGB(255, 255, 0));
}

TEST_F(BackgroundWindowTest, TiledImageCoversTheWholeBackground)
{
    const std::string path = tempPath("tile.bmp");
    // A marked top-left corner shows where each tile begins.
    writeBmp(path, 30, 20, [](int x, int y) { return x < 2 && y < 2 ? RGB(255, 0, 255) : RGB(0, 255, 255); });
    usePageImage(path);
    gBackgroundStyle.flags |= kBackgroundTileImage;
    gBackgroundStyle.imageX = 100;
    ASSERT_TRUE(drawBackground(window_));
    for (int y = 0; y < kHeight; y += 20)
        for (int x = 0; x < kWidth; x += 30) {
            ASSERT_EQ(pixel(x, y), RGB(255, 0, 255)) << x << ", " << y;
            ASSERT_EQ(pixel(x + 5, y + 5), RGB(0, 255, 255)) << x << ", " << y;
        }
    EXPECT_EQ(pixel(kWidth - 1, kHeight - 1), RGB(0, 255, 255));
    saveScreenshot("background_tiled");
}

TEST_F(BackgroundWindowTest, BlackPixelsOfATransparentImageShowTheBackground)
{
    const std::string path = tempPath("transparent.bmp");
    writeBmp(path, 20, 20, [](int x, int) { return x < 10 ? RGB(0, 0, 0) : RGB(255, 255, 255); });
    usePageImage(path);
    gBackgroundStyle.flags |= kBackgroundTransparentImage;
    gBackgroundStyle.imageX = 100;
    gBackgroundStyle.imageY = 150;
    ASSERT_TRUE(drawBackground(window_));
    EXPECT_EQ(pixel(100, 150), kSplit);
    EXPECT_EQ(pixel(115, 150), RGB(255, 255, 255));
}

TEST_F(BackgroundWindowTest, TextsAreDrawnWithAndWithoutShadow)
{
    gBackgroundStyle.title = ByteString("Title");
    gBackgroundStyle.titleColour = RGB(255, 255, 255);
    gBackgroundStyle.titleShadowColour = 0xFFFFFF;
    gBackgroundStyle.footer = ByteString("Footer");
    gBackgroundStyle.footerColour = RGB(255, 255, 0);
    ASSERT_TRUE(drawBackground(window_));
    int white = 0, yellow = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            white += pixel(x, y) == RGB(255, 255, 255);
    for (int y = kHeight - 30; y < kHeight - 8; ++y)
        for (int x = kWidth - 120; x < kWidth - 10; ++x)
            yellow += pixel(x, y) == RGB(255, 255, 0);
    EXPECT_GT(white, 20);
    EXPECT_GT(yellow, 20);
    // The footer keeps 8 rows free at the bottom and 10 columns at the right.
    for (int x = 0; x < kWidth; ++x)
        for (int y = kHeight - 8; y < kHeight; ++y)
            ASSERT_NE(pixel(x, y), RGB(255, 255, 0)) << x << ", " << y;
    saveScreenshot("background_texts");
}

// The system's files with a clock that a test moves: each reading advances it by a step.
class SteppedClock final : public ForwardingFileSystem {
public:
    std::uint32_t now = 1000;
    std::uint32_t step = 10;
    std::uint32_t tickCount() override { return now += step; }
};

TEST_F(BackgroundWindowTest, SlideshowAdvancesWithTheProgressAndHoldsItsMinimumTime)
{
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        paths.push_back(tempPath(("slide" + std::to_string(i) + ".bmp").c_str()));
        // Widths 40, 60, 50: the area is 60 wide, each image at its top right corner.
        writeBmp(paths.back(), 40 + (i == 1 ? 20 : i * 10), 30, [&](int, int) { return colours[i]; });
    }
    gPackageToc.slideshowPaths.clear();
    for (const std::string& p : paths)
        gPackageToc.slideshowPaths.emplace_back(p.c_str());
    const SlideshowSettings savedSlideshow = gSlideshowSettings;
    gSlideshowSettings = SlideshowSettings{};
    gSlideshowSettings.area = 1;
    gSlideshowSettings.alignment = 2;
    gSlideshowSettings.offsetX = 10;
    gSlideshowSettings.offsetY = 20;
    gSlideshowSettings.durationSeconds = 2;
    const std::uint64_t savedOther = gPackageToc.otherBytes;
    gPackageToc.otherBytes = 100;
    SteppedClock clock;
    InstallFileSystem* savedFs = setInstallFileSystem(&clock);
    const InstallView savedView = gInstallView;
    gInstallView = InstallView{};

    ASSERT_TRUE(drawBackground(window_));
    attachSlideshow(window_);
    gInstallRun = InstallRunState();
    gInstallRun.phase = kPhaseFiles;
    gInstallRun.runStartTick = clock.now;
    // The first two were installed by this run; the third was there before and stays.
    gInstallRun.createdFiles = {paths[0], paths[1]};
    gInstallView.measureSlideshow();
    EXPECT_EQ(gSlideshowSettings.largestWidth, 60);
    EXPECT_EQ(gSlideshowSettings.largestHeight, 30);

    struct Step {
        std::uint64_t done;
        int image; // -1: the one before stays
    };
    const Step steps[] = {{0, 0}, {20, -1}, {35, 1}, {70, 2}, {100, -1}};
    int shown = -1;
    for (const Step& s : steps) {
        setProgress(0, s.done);
        const std::int32_t overall = gInstallRun.progress.overallShown();
        // The update returns only once overall × duration × 10 ms have passed since the start.
        EXPECT_GE(clock.now - gInstallRun.runStartTick, static_cast<std::uint32_t>(overall) * 20) << overall << " %";
        EXPECT_LT(clock.now - gInstallRun.runStartTick, static_cast<std::uint32_t>(overall) * 20 + 3 * clock.step + 1);
        if (s.image >= 0)
            shown = s.image;
        const int width = shown == 1 ? 60 : 40 + shown * 10;
        // Right-aligned in the 60-pixel area at (10, 20).
        EXPECT_EQ(pixel(10 + 60 - width, 20), colours[shown]) << s.done;
        EXPECT_EQ(pixel(10 + 59, 49), colours[shown]) << s.done;
        EXPECT_NE(pixel(10 + 59, 50), colours[shown]) << s.done;
        if (shown != 1) {
            EXPECT_EQ(pixel(10 + 60 - width - 1, 20), pixel(200, 20)) << "no trace of the wider image " << s.done;
        }
        if (s.done == 35)
            saveScreenshot("background_slideshow");
    }
    EXPECT_FALSE(fileExists(paths[0]));
    EXPECT_FALSE(fileExists(paths[1]));
    EXPECT_TRUE(fileExists(paths[2]));
    finishSlideshow(window_);
    EXPECT_EQ(pixel(10 + 59, 20), pixel(200, 20));

    DeleteFileA(paths[2].c_str());
    gInstallView = savedView;
    setInstallFileSystem(savedFs);
    gPackageToc.otherBytes = savedOther;
    gPackageToc.slideshowPaths.clear();
    gSlideshowSettings = savedSlideshow;
    gInstallRun = InstallRunState();
}

} // namespace
