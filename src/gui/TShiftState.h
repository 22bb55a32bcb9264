#pragma once
// Modifier keys and mouse buttons held during a key or mouse event, and the mouse buttons.
#include <cstdint>

namespace kv {

using TShiftState = std::uint8_t;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

} // namespace kv
