#pragma once
// A package image as a device-dependent bitmap for a template control: the id goes through the
// package's identifier list, the bitmap is read from the image's temporary ".bmp" file (which
// stays for later use) and, when a size is asked for, stretched to it.
#include <windows.h>

#include <cstdint>

enum TemplateImageResult : int {
    kTemplateImageLoaded = 1,
    kTemplateImageNoTarget = -1,
    kTemplateImageUnknownId = -2,
    kTemplateImageNotOpened = -3,
    kTemplateImageNotRead = -4,
    kTemplateImageNoBitmap = -6,
};

// width and height both positive: the bitmap is stretched to them when the image differs; when
// that fails the image's own size stays. width receives the width of the bitmap returned.
int loadTemplateImage(HBITMAP* bitmap, std::uint32_t id, int width, int height, int* bitmapWidth);
