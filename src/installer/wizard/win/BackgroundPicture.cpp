#include "installer/wizard/win/BackgroundPicture.h"

#include "installer/install/InstallRun.h"
#include "installer/state/InstallerState.h"
#include "installer/system/FileSystem.h"
#include "installer/text/Utf8.h"
#include "installer/text/win/WideName.h"
#include "installer/variables/TextExpansion.h"
#include "installer/wizard/BackgroundLayout.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr std::size_t kMaxSlideshowImages = 100;
constexpr COLORREF kNoShadow = 0xFFFFFF;
// Raster operation: destination AND NOT source.
constexpr DWORD kDestinationAndNotSource = 0x00220326;

HBITMAP gScreenBitmap = nullptr;
HGDIOBJ gScreenOldBitmap = nullptr;

HDC screenDc()
{
    return static_cast<HDC>(gInstallerContext.screenDc);
}

std::int32_t areaWidth()
{
    return gInstallerContext.clientArea.right;
}

std::int32_t areaHeight()
{
    return gInstallerContext.clientArea.bottom;
}

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using OwnedDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

// A GDI object selected into a DC for a scope, deleted after it is deselected.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject()
    {
        if (old_)
            SelectObject(dc_, old_);
        if (object_)
            DeleteObject(object_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    bool ok() const { return object_ != nullptr && old_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
};

const BITMAPINFO* infoOf(const BmpImage& image)
{
    return reinterpret_cast<const BITMAPINFO*>(image.block.data());
}

std::int32_t imageHeight(const BmpImage& image)
{
    return static_cast<std::int32_t>(image.rows());
}

bool drawImage(HDC dc, const BmpImage& image, const PixelRect& to)
{
    SetStretchBltMode(dc, COLORONCOLOR);
    return StretchDIBits(dc, to.x, to.y, to.width, to.height, 0, 0, image.info.width, imageHeight(image),
                         image.block.data() + image.bitsOffset, infoOf(image), DIB_RGB_COLORS, SRCCOPY) != 0;
}

void paintGradient(HDC dc)
{
    const BackgroundStyle& s = gBackgroundStyle;
    const std::vector<std::uint32_t> rows =
        gradientRows(s.topColour, s.splitColour, s.bottomColour, s.splitPercent, static_cast<std::uint32_t>(std::max(areaHeight(), 0)));
    HGDIOBJ old = SelectObject(dc, GetStockObject(DC_BRUSH));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        SetDCBrushColor(dc, rows[row]);
        PatBlt(dc, 0, static_cast<int>(row), areaWidth(), 1, PATCOPY);
    }
    SelectObject(dc, old);
}

// Black pixels of the image let the background show through.
bool drawTransparent(HDC dc, const BmpImage& image, const PixelRect& to)
{
    OwnedDc imageDc(CreateCompatibleDC(dc));
    OwnedDc maskDc(CreateCompatibleDC(dc));
    if (!imageDc || !maskDc)
        return false;
    SelectedObject picture(imageDc.get(), CreateCompatibleBitmap(dc, to.width, to.height));
    SelectedObject mask(maskDc.get(), CreateBitmap(to.width, to.height, 1, 1, nullptr));
    if (!picture.ok() || !mask.ok())
        return false;
    if (!drawImage(imageDc.get(), image, {0, 0, to.width, to.height}))
        return false;
    SetBkColor(imageDc.get(), RGB(0, 0, 0));
    BitBlt(maskDc.get(), 0, 0, to.width, to.height, imageDc.get(), 0, 0, SRCCOPY);
    // Monochrome sources paint 1 as the background colour and 0 as the text colour.
    SetBkColor(imageDc.get(), RGB(255, 255, 255));
    SetTextColor(imageDc.get(), RGB(0, 0, 0));
    BitBlt(imageDc.get(), 0, 0, to.width, to.height, maskDc.get(), 0, 0, kDestinationAndNotSource);
    const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, to.x, to.y, to.width, to.height, maskDc.get(), 0, 0, SRCAND);
    BitBlt(dc, to.x, to.y, to.width, to.height, imageDc.get(), 0, 0, SRCPAINT);
    SetBkColor(dc, oldBk);
    SetTextColor(dc, oldText);
    return true;
}

// The page image as read from the temporary file start-up made; kept for every later redraw
// (a change of the display settings draws the background anew) once the file is deleted.
std::unique_ptr<BmpImage>& keptPageImage()
{
    static std::unique_ptr<BmpImage> image;
    return image;
}

void paintPageImage(HDC dc)
{
    ByteString& path = gTempFilePaths.pageImageBitmap;
    if (!path.empty()) {
        auto image = std::make_unique<BmpImage>();
        const std::int32_t read = readBmpFile(path.cStr(), *image);
        forceDelete(path.cStr());
        path = ByteString();
        keptPageImage() = read == kBmpRead ? std::move(image) : nullptr;
    }
    if (!keptPageImage())
        return;
    const BmpImage& image = *keptPageImage();
    const std::uint32_t flags = gBackgroundStyle.flags;
    const PixelRect place = pageImagePlace(flags, gBackgroundStyle.imageX, gBackgroundStyle.imageY, areaWidth(),
                                           areaHeight(), image.info.width, imageHeight(image));
    const bool drawn = (flags & kBackgroundTransparentImage) ? drawTransparent(dc, image, place) : drawImage(dc, image, place);
    if (!drawn || !(flags & kBackgroundTileImage) || (flags & kBackgroundStretchImage))
        return;
    for (const PixelRect& tile : pageImageTiles(areaWidth(), areaHeight(), place.width, place.height))
        BitBlt(dc, tile.x, tile.y, tile.width, tile.height, dc, 0, 0, SRCCOPY);
}

HFONT makeFont(int height, int width, int weight)
{
    return CreateFontW(height, width, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, L"Times New Roman");
}

struct TextSize {
    int width = 0, height = 0;
};

// Draws text with an optional shadow; the text's measured size.
TextSize drawText(HDC dc, ByteString utf8, HFONT font, COLORREF colour, POINT at, COLORREF shadow, POINT shadowAt)
{
    const std::optional<std::u16string> wide = utf8ToWide(utf8.cStr());
    if (!wide || !font)
        return {};
    const auto* text = reinterpret_cast<const wchar_t*>(wide->c_str());
    const int length = static_cast<int>(wide->size());
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, length, &size);
    if (shadow != kNoShadow) {
        SetTextColor(dc, shadow);
        TextOutW(dc, shadowAt.x, shadowAt.y, text, length);
    }
    SetTextColor(dc, colour);
    TextOutW(dc, at.x, at.y, text, length);
    SelectObject(dc, old);
    return {size.cx, size.cy};
}

void paintTexts(HDC dc)
{
    BackgroundStyle& s = gBackgroundStyle;
    SetBkMode(dc, TRANSPARENT);
    int titleHeight = 0;
    if (!s.title.empty()) {
        HFONT font = makeFont(28, 18, 600);
        titleHeight = drawText(dc, s.title, font, s.titleColour, {10, 10}, s.titleShadowColour, {12, 11}).height;
        DeleteObject(font);
    }
    if (!s.subtitle.empty()) {
        HFONT font = makeFont(16, 9, 700);
        drawText(dc, s.subtitle, font, s.subtitleColour, {10, titleHeight + 15}, s.subtitleShadowColour,
                 {12, titleHeight + 16});
        DeleteObject(font);
    }
    if (!s.footer.empty()) {
        HFONT font = makeFont(14, 8, 700);
        // Measured first, in a transparent pass: the footer keeps 10 pixels from the right, 8 from the bottom.
        HGDIOBJ old = SelectObject(dc, font);
        const std::optional<std::u16string> wide = utf8ToWide(s.footer.cStr());
        SIZE size{};
        if (wide)
            GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(wide->c_str()), static_cast<int>(wide->size()), &size);
        SelectObject(dc, old);
        drawText(dc, s.footer, font, s.footerColour, {areaWidth() - size.cx - 10, areaHeight() - size.cy - 8}, kNoShadow, {});
        DeleteObject(font);
    }
}

// The off-screen picture and the slideshow area; the kept page image stays.
void releaseScreenDc()
{
    restoreSlideshowArea();
    HDC dc = screenDc();
    if (!dc)
        return;
    if (gScreenOldBitmap)
        SelectObject(dc, gScreenOldBitmap);
    if (gScreenBitmap)
        DeleteObject(gScreenBitmap);
    DeleteDC(dc);
    gScreenBitmap = nullptr;
    gScreenOldBitmap = nullptr;
    gInstallerContext.screenDc = nullptr;
}

bool makeScreenDc()
{
    releaseScreenDc();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = dc ? CreateCompatibleBitmap(screen, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) : nullptr;
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = bitmap ? SelectObject(dc, bitmap) : nullptr;
    if (!old) {
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
        return false;
    }
    gInstallerContext.screenDc = dc;
    gScreenBitmap = bitmap;
    gScreenOldBitmap = old;
    return true;
}

ByteString slideshowPath(std::size_t n)
{
    ByteString path = gPackageToc.slideshowPaths[n];
    expandBuiltinVariables(path);
    return path;
}

bool readWholeFile(const char* path, std::vector<std::uint8_t>& bytes)
{
    HANDLE file = CreateFileW(WideName(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
        bytes.resize(got);
    }
    CloseHandle(file);
    return ok;
}

} // namespace

std::int32_t readBmpFile(const char* path, BmpImage& image)
{
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes))
        return -1;
    return readBmp(bytes.data(), bytes.size(), image);
}

bool copyBackgroundTo(HDC target)
{
    if (!screenDc())
        return false;
    return BitBlt(target, 0, 0, areaWidth(), areaHeight(), screenDc(), 0, 0, SRCCOPY) != 0;
}

bool drawBackground(HWND window)
{
    if (!makeScreenDc())
        return false;
    HDC dc = screenDc();
    paintGradient(dc);
    paintPageImage(dc);
    paintTexts(dc);
    HDC windowDc = GetDC(window);
    const bool copied = windowDc && copyBackgroundTo(windowDc);
    if (windowDc)
        ReleaseDC(window, windowDc);
    return copied;
}

void restoreSlideshowArea()
{
    HDC saved = static_cast<HDC>(gBackground.savedAreaDc);
    if (!saved)
        return;
    if (screenDc())
        BitBlt(screenDc(), gBackground.x, gBackground.y, gBackground.width, gBackground.height, saved, 0, 0, SRCCOPY);
    // A 1 × 1 bitmap takes the saved one's place so that it can be deleted first.
    HBITMAP stub = CreateBitmap(1, 1, 1, 1, nullptr);
    SelectObject(saved, stub);
    DeleteObject(static_cast<HGDIOBJ>(gBackground.savedAreaBitmap));
    DeleteDC(saved);
    DeleteObject(stub);
    gBackground.savedAreaDc = nullptr;
    gBackground.savedAreaBitmap = nullptr;
}

std::int32_t saveSlideshowArea()
{
    restoreSlideshowArea();
    HDC dc = CreateCompatibleDC(screenDc());
    if (!dc)
        return -1;
    HBITMAP bitmap = CreateCompatibleBitmap(screenDc(), gBackground.width, gBackground.height);
    if (!bitmap) {
        DeleteDC(dc);
        return -2;
    }
    if (!SelectObject(dc, bitmap)) {
        DeleteObject(bitmap);
        DeleteDC(dc);
        return -3;
    }
    BitBlt(dc, 0, 0, gBackground.width, gBackground.height, screenDc(), gBackground.x, gBackground.y, SRCCOPY);
    gBackground.savedAreaDc = dc;
    gBackground.savedAreaBitmap = bitmap;
    return 1;
}

void showSlideshowImage(std::int32_t n)
{
    if (n < 0 || static_cast<std::size_t>(n) >= gPackageToc.slideshowPaths.size() || !screenDc())
        return;
    ByteString path = slideshowPath(static_cast<std::size_t>(n));
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path.cStr(), bytes))
        return;
    restoreSlideshowArea();
    // Shown once: the file goes, but only when this installation put it there.
    if (gInstallRun.createdFiles.count(path.cStr()))
        forceDelete(path.cStr());
    BmpImage image;
    if (readBmp(bytes.data(), bytes.size(), image) != kBmpRead)
        return;
    const SlideshowSettings& s = gSlideshowSettings;
    const SlideshowLayout layout{s.area, s.alignment, s.offsetX, s.offsetY, s.largestWidth, s.largestHeight};
    const PixelRect place = slideshowImagePlace(layout, areaWidth(), areaHeight(), image.info.width, imageHeight(image));
    gBackground.x = place.x;
    gBackground.y = place.y;
    gBackground.width = place.width;
    gBackground.height = place.height;
    if (saveSlideshowArea() != 1)
        return;
    drawImage(screenDc(), image, place);
}

void measureSlideshow()
{
    SlideshowSettings& s = gSlideshowSettings;
    s.largestWidth = s.largestHeight = 0;
    const std::size_t count = gPackageToc.slideshowPaths.size();
    if (count < 1 || count > kMaxSlideshowImages || (s.area == 0 && s.alignment == 0))
        return;
    for (std::size_t n = 0; n < count; ++n) {
        ByteString path = slideshowPath(n);
        std::uint8_t head[kBmpFileHeaderSize + kBmpInfoHeaderSize];
        std::int32_t width = 0, height = 0;
        FILE* file = std::fopen(path.cStr(), "rb");
        if (!file)
            continue;
        const std::size_t got = std::fread(head, 1, sizeof head, file);
        std::fclose(file);
        if (!readBmpSize(head, got, width, height))
            continue;
        if (height < 0)
            height = height == INT32_MIN ? INT32_MAX : -height;
        s.largestWidth = std::max(s.largestWidth, width);
        s.largestHeight = std::max(s.largestHeight, height);
    }
}

void attachSlideshow(HWND window)
{
    gInstallView.measureSlideshow = [] { measureSlideshow(); };
    gInstallView.showSlide = [window](std::int32_t n) {
        showSlideshowImage(n);
        HDC dc = GetDC(window);
        if (dc) {
            copyBackgroundTo(dc);
            ReleaseDC(window, dc);
        }
    };
    gInstallView.endSlideshow = [window] { finishSlideshow(window); };
}

void finishSlideshow(HWND window)
{
    restoreSlideshowArea();
    HDC dc = GetDC(window);
    if (dc) {
        copyBackgroundTo(dc);
        ReleaseDC(window, dc);
    }
}

void releaseBackgroundPicture()
{
    releaseScreenDc();
    keptPageImage().reset();
}

