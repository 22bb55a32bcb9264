#pragma once
// A system font made from a font's attributes; the caller deletes it.
#include "gui/TFont.h"

#include <windows.h>

namespace kv {

HFONT MakeFont(const TFont& Font);

} // namespace kv
