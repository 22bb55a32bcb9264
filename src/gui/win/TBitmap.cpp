#include "gui/win/TBitmap.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <algorithm>

namespace kv {

// The bitmap's canvas makes the memory DC the first time it is drawn on.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& Owner) : FOwner(Owner) {}

protected:
    void CreateHandle() override { SetHandle(FOwner.MemoryDC()); }

private:
    TBitmap& FOwner;
};

TBitmap::TBitmap() : FCanvas(std::make_unique<TBitmapCanvas>(*this)) {}

TBitmap::~TBitmap()
{
    FCanvas->SetHandle(nullptr);
    if (FDC) {
        SelectObject(FDC, FOldBitmap);
        DeleteDC(FDC);
    }
    if (FHandle) DeleteObject(FHandle);
}

std::int32_t TBitmap::BytesPerLine() const
{
    const std::int32_t bits = FPixelFormat == pf24bit ? 24 : 32;
    return ((FWidth * bits + 31) / 32) * 4;
}

HDC TBitmap::MemoryDC()
{
    if (!FDC) {
        FDC = CreateCompatibleDC(nullptr);
        if (!FDC) throw Exception("Out of system resources");
        FOldBitmap = FHandle ? SelectObject(FDC, FHandle) : nullptr;
    }
    return FDC;
}

void TBitmap::Rebuild(std::int32_t Width, std::int32_t Height, TPixelFormat NewFormat)
{
    Width = std::max(Width, 0);
    Height = std::max(Height, 0);
    HBITMAP handle = nullptr;
    void* bits = nullptr;
    if (Width > 0 && Height > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = Width;
        info.bmiHeader.biHeight = -Height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = NewFormat == pf24bit ? 24 : 32;
        info.bmiHeader.biCompression = BI_RGB;
        handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!handle) throw Exception(Format("Cannot make a bitmap of %d x %d pixels", {Width, Height}));
    }
    // The old image's top-left part goes into the new one.
    if (handle && FHandle) {
        GdiFlush();
        HDC to = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(to, handle);
        BitBlt(to, 0, 0, std::min(Width, FWidth), std::min(Height, FHeight), MemoryDC(), 0, 0, SRCCOPY);
        SelectObject(to, old);
        DeleteDC(to);
    }
    FCanvas->SetHandle(nullptr);
    if (FDC) {
        if (FOldBitmap) SelectObject(FDC, FOldBitmap);
        DeleteDC(FDC);
        FDC = nullptr;
        FOldBitmap = nullptr;
    }
    if (FHandle) DeleteObject(FHandle);
    FHandle = handle;
    FBits = static_cast<std::uint8_t*>(bits);
    FWidth = handle ? Width : 0;
    FHeight = handle ? Height : 0;
    FPixelFormat = NewFormat;
    if (FHandle) {
        FDC = CreateCompatibleDC(nullptr);
        FOldBitmap = SelectObject(FDC, FHandle);
    }
}

void TBitmap::SetSize(std::int32_t Width, std::int32_t Height)
{
    if (Width == FWidth && Height == FHeight) return;
    Rebuild(Width, Height, FPixelFormat);
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (Value == FPixelFormat) return;
    if (!FHandle) {
        FPixelFormat = Value;
        return;
    }
    Rebuild(FWidth, FHeight, Value);
}

std::uint8_t* TBitmap::ScanLine(std::int32_t Y)
{
    if (Y < 0 || Y >= FHeight) throw EListError(Format("Scan line index out of range (%d)", {Y}));
    GdiFlush();
    return FBits + static_cast<std::ptrdiff_t>(Y) * BytesPerLine();
}

} // namespace kv
