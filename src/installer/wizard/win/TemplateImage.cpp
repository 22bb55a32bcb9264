#include "installer/wizard/win/TemplateImage.h"

#include "installer/state/PackageImages.h"
#include "installer/text/ByteString.h"
#include "installer/wizard/BmpReader.h"


namespace {

// The file's bytes made into a bitmap compatible with the screen; null when they hold no bitmap.
// The reader checks every size and offset against the file first: a damaged image in the package
// never makes the system read past its bytes.
HBITMAP bitmapFromFileBytes(const ByteString& bytes)
{
    BmpImage image;
    if (readBmp(bytes.data(), bytes.length(), image) != kBmpRead)
        return nullptr;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(image.block.data());
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, image.block.data() + image.bitsOffset, info,
                                    DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// A copy of source drawn to width x height; null when the drawing fails.
HBITMAP stretched(HBITMAP source, const BITMAP& size, int width, int height)
{
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP result = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    bool drawn = false;
    if (from && to && result) {
        HGDIOBJ oldFrom = SelectObject(from, source);
        HGDIOBJ oldTo = SelectObject(to, result);
        SetStretchBltMode(to, COLORONCOLOR);
        drawn = StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY) != FALSE;
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    if (from)
        DeleteDC(from);
    if (to)
        DeleteDC(to);
    if (!drawn && result) {
        DeleteObject(result);
        result = nullptr;
    }
    return result;
}

} // namespace

int loadTemplateImage(HBITMAP* bitmap, std::uint32_t id, int width, int height, int* bitmapWidth)
{
    if (!bitmap)
        return kTemplateImageNoTarget;
    *bitmap = nullptr;
    const PageImage* image = findPackageImage(id);
    if (!image)
        return kTemplateImageUnknownId;
    ByteString path = image->path;
    ByteString bytes;
    const int loaded = path.empty() ? -3 : bytes.loadFromFile(path.cStr());
    if (loaded == -3)
        return kTemplateImageNotOpened;
    if (loaded != 1)
        return kTemplateImageNotRead;
    HBITMAP made = bitmapFromFileBytes(bytes);
    if (!made)
        return kTemplateImageNoBitmap;
    BITMAP size{};
    GetObjectW(made, sizeof size, &size);
    if (width > 0 && height > 0 && (width != size.bmWidth || height != size.bmHeight)) {
        if (HBITMAP scaled = stretched(made, size, width, height)) {
            DeleteObject(made);
            made = scaled;
            size.bmWidth = width;
        }
    }
    *bitmap = made;
    if (bitmapWidth)
        *bitmapWidth = size.bmWidth;
    return kTemplateImageLoaded;
}
