#pragma once
// The components tree's check-state pictures: 13 x 13 images in state order (unchecked,
// checked, fixed, partly checked), from the program's bitmap 127 when it carries one, else drawn.
#include <windows.h>
#include <commctrl.h>

HIMAGELIST makeCheckStateImages();
