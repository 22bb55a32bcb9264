#pragma once
// The installed DirectX version, asked of the system's DirectDraw, DirectInput and DirectMusic.
#include <cstdint>

// Major in the low 16 bits, minor in the high 16 bits; 0 without DirectDraw. Every object is
// released and every library freed before it returns.
std::uint32_t detectDirectX();
