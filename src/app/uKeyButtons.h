#pragma once
// Where the layout editor draws each of the 74 computer keys: the main block in four rows, the
// navigation keys and arrows below it, and the number pad beside those.
#include "gui/TRect.h"

namespace kv {

// The button of the layout table's row (0..73) in the editor's client area.
TRect KeyButtonBounds(int Row);

} // namespace kv
