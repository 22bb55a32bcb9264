#pragma once
// Pictures the window tests hand to the installer: plain 24-bit BMP files whose every pixel the
// test chooses, so that what the window paints can be checked pixel by pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

// A 24-bit picture whose pixel (x, y) (y from the top) has colour(x, y).
template <typename Colour>
void writeBmp(const std::string& path, int width, int height, Colour colour)
{
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(rowBytes) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            unsigned char* p = &pixels[static_cast<std::size_t>(height - 1 - y) * rowBytes + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
}
