// Off Windows there is no system palette: the usual defaults stand in for the few colours used.
#include "gui/TColor.h"

namespace kv {

std::uint32_t SystemColorRGB(int Index)
{
    switch (Index) {
    case 5: return 0xFFFFFF;  // window
    case 8: return 0x000000;  // window text
    case 15: return 0xC0C0C0; // button face
    default: return 0x000000;
    }
}

} // namespace kv
