#pragma once
// An off-screen image: a top-down DIB section of 24 or 32 bits per pixel, with a canvas over it
// and direct access to its scan lines.
#include "base/TPersistent.h"
#include "gui/win/TCanvas.h"

#include <windows.h>

#include <cstdint>
#include <memory>

namespace kv {

enum TPixelFormat : std::uint8_t { pf24bit, pf32bit };

class TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;
    std::string ClassName() const override { return "TBitmap"; }

    std::int32_t Width() const { return FWidth; }
    std::int32_t Height() const { return FHeight; }
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    // Keeps the image's top-left part; new pixels are black.
    void SetSize(std::int32_t Width, std::int32_t Height);
    void SetWidth(std::int32_t Value) { SetSize(Value, FHeight); }
    void SetHeight(std::int32_t Value) { SetSize(FWidth, Value); }
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the image to the new format.
    void SetPixelFormat(TPixelFormat Value);

    TCanvas& Canvas() { return *FCanvas; }
    // Row Y of the image (top row 0), after pending drawing has reached the pixels. Raises
    // EListError outside 0..Height - 1.
    std::uint8_t* ScanLine(std::int32_t Y);
    std::int32_t BytesPerLine() const;
    HBITMAP Handle() const { return FHandle; }

private:
    class TBitmapCanvas;
    void Rebuild(std::int32_t Width, std::int32_t Height, TPixelFormat NewFormat);
    HDC MemoryDC();

    std::int32_t FWidth = 0;
    std::int32_t FHeight = 0;
    TPixelFormat FPixelFormat = pf32bit;
    HBITMAP FHandle = nullptr;
    std::uint8_t* FBits = nullptr;
    HDC FDC = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
};

} // namespace kv
