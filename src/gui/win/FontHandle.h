#pragma once
// A system font made from a font's attributes; the caller deletes it.
#include "gui/TFont.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace kv {

HFONT MakeFont(const TFont& Font);
// The width in pixels of one line of text written in the font ('&' is no prefix).
std::int32_t TextWidth(const TFont& Font, const std::string& Text);
// The same in the font a window writes in (its WM_GETFONT), without making a font.
std::int32_t TextWidth(HWND Wnd, const std::string& Text);

} // namespace kv
