#pragma once
// The pixels of a window's client area as the screen shows them, and a copy of them as a .bmp in
// the folder KV_SCREENSHOT_DIR names (when it names one), for looking at.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kv::test {

struct WindowPixels {
    int Width = 0, Height = 0;
    std::vector<COLORREF> Pixels;
    COLORREF At(int X, int Y) const { return Pixels[static_cast<std::size_t>(Y * Width + X)]; }
    // Whether a pixel of the colour lies in the rectangle.
    bool Holds(const RECT& R, COLORREF Colour) const
    {
        for (int y = R.top; y < R.bottom && y < Height; ++y)
            for (int x = R.left; x < R.right && x < Width; ++x)
                if (At(x, y) == Colour) return true;
        return false;
    }
};

inline WindowPixels CaptureClient(HWND Wnd)
{
    RECT r{};
    GetClientRect(Wnd, &r);
    WindowPixels shot;
    shot.Width = r.right;
    shot.Height = r.bottom;
    HDC dc = GetDC(Wnd);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.Width;
    info.bmiHeader.biHeight = -shot.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.Width, shot.Height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    shot.Pixels.resize(static_cast<std::size_t>(shot.Width * shot.Height));
    for (std::size_t i = 0; i < shot.Pixels.size(); ++i)
        shot.Pixels[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(Wnd, dc);
    return shot;
}

inline void SaveScreenshot(const WindowPixels& Shot, const std::string& Name)
{
    const char* folder = std::getenv("KV_SCREENSHOT_DIR");
    if (!folder) return;
    const int stride = (Shot.Width * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = Shot.Width;
    info.biHeight = Shot.Height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * Shot.Height);
    std::vector<unsigned char> rows(static_cast<std::size_t>(stride * Shot.Height));
    for (int y = 0; y < Shot.Height; ++y)
        for (int x = 0; x < Shot.Width; ++x) {
            unsigned char* q = &rows[static_cast<std::size_t>((Shot.Height - 1 - y) * stride + x * 3)];
            const COLORREF c = Shot.At(x, y);
            q[0] = GetBValue(c);
            q[1] = GetGValue(c);
            q[2] = GetRValue(c);
        }
    FILE* out = std::fopen((std::string(folder) + "/" + Name + ".bmp").c_str(), "wb");
    if (!out) return;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(rows.data(), 1, rows.size(), out);
    std::fclose(out);
}

} // namespace kv::test
