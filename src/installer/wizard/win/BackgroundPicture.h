#pragma once
// The background window's picture, composed once in a memory device context of the screen's size
// and copied to the window whenever it erases its background: the two-band gradient, the page
// image (placed, stretched or tiled, with black as transparent when asked) and the three texts.
// During the installation the slideshow's images are shown one after another in a fixed area.
#include "installer/wizard/BmpReader.h"

#include <windows.h>

#include <cstdint>

// Reads a whole BMP file: a BmpReadCode, or -1 when the file cannot be opened.
std::int32_t readBmpFile(const char* path, BmpImage& image);

// Builds the picture and copies it to window; false when no memory DC could be made or the copy
// failed. Any element that cannot be drawn is left out.
bool drawBackground(HWND window);

// Copies the picture to window (its background area).
bool copyBackgroundTo(HDC target);

// Shows slideshow image n on the picture; the caller copies the picture to the window. Each image
// file is shown once: a file this installation created is deleted after reading.
void showSlideshowImage(std::int32_t n);
// Puts the saved background back under the current slideshow image and forgets it.
void restoreSlideshowArea();
// 1, or -1, -2, -3 when no memory DC, bitmap or selection could be made.
std::int32_t saveSlideshowArea();
// The largest width and height over the slideshow's images, when the area or the alignment needs
// them; unreadable files count as 0 × 0.
void measureSlideshow();

// Lets the installation run show the slideshow on window's picture.
void attachSlideshow(HWND window);
// At the end of the run: the background under the last image comes back.
void finishSlideshow(HWND window);

// Deletes the picture and any saved slideshow area.
void releaseBackgroundPicture();
