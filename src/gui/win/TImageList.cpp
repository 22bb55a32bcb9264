#include "gui/win/TImageList.h"

#include "base/Exceptions.h"
#include "gui/win/TBitmap.h"

#include <cstring>

namespace kv {

namespace {

// A 32-bit top-down DIB section; Bits receives its pixels.
HBITMAP MakeDibSection(std::int32_t Width, std::int32_t Height, void** Bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, Bits, nullptr, 0);
}

} // namespace

TImageList::TImageList(TComponent* AOwner, std::int32_t Width, std::int32_t Height)
    : TComponent(AOwner), FWidth(Width), FHeight(Height)
{
    InitCommonControls();
    FHandle = ImageList_Create(Width, Height, ILC_COLOR24 | ILC_MASK, 24, 8);
    if (!FHandle) throw Exception("Error creating an image list");
}

TImageList::~TImageList()
{
    if (FHandle) ImageList_Destroy(FHandle);
}

int TImageList::Count() const { return ImageList_GetImageCount(FHandle); }

int TImageList::AddMasked(TBitmap& Image, TColor TransparentColor)
{
    if (Image.Width() != FWidth || Image.Height() != FHeight) return -1;
    Image.SetPixelFormat(pf32bit);
    // The image's own bitmap stays selected in its canvas, so the list gets a copy of the pixels.
    void* bits = nullptr;
    HBITMAP copy = MakeDibSection(FWidth, FHeight, &bits);
    if (!copy) return -1;
    const std::size_t rowBytes = static_cast<std::size_t>(FWidth) * 4;
    for (std::int32_t y = 0; y < FHeight; ++y)
        std::memcpy(static_cast<std::uint8_t*>(bits) + rowBytes * static_cast<std::size_t>(y), Image.ScanLine(y), rowBytes);
    const int index = ImageList_AddMasked(FHandle, copy, ColorToRGB(TransparentColor));
    DeleteObject(copy);
    return index;
}

HBITMAP TImageList::MakeOpaqueBitmap(int Index, TColor Background) const
{
    if (Index < 0 || Index >= Count()) return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = MakeDibSection(FWidth, FHeight, &bits);
    if (!bitmap) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Background));
    const RECT all{0, 0, FWidth, FHeight};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ImageList_Draw(FHandle, Index, dc, 0, 0, ILD_TRANSPARENT);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

} // namespace kv
