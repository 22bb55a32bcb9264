#pragma once
// Test-side screenshots: an area of the screen saved as a 24-bit BMP file, to be looked at.
#include <windows.h>

#include <cstdio>
#include <string>

inline void saveScreenArea(const RECT& area, const std::wstring& path)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + imageBytes;
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        std::fwrite(&file, sizeof(file), 1, out);
        std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out);
        std::fwrite(bits, 1, imageBytes, out);
        std::fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// The window's area of the screen.
inline void saveWindowShot(HWND window, const std::string& path)
{
    RECT area{};
    GetWindowRect(window, &area);
    saveScreenArea(area, std::wstring(path.begin(), path.end()));
}
