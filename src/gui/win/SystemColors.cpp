#include "gui/TColor.h"

#include <windows.h>

namespace kv {

std::uint32_t SystemColorRGB(int Index) { return GetSysColor(Index); }

} // namespace kv
