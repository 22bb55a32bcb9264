#pragma once
// The numbers that condition comparisons read: decimal literals, integer variables and the
// system's own figures. The figures that cost time to measure are kept in eight cells, -1 until
// measured; a cell once different from -1 is never measured again. The system-information
// probes fill the same cells.
#include "installer/text/ByteString.h"

#include <cstdint>

struct SystemNumbers {
    std::int32_t cpuMhz = -1;
    std::int32_t cpuType = -1;
    std::int32_t cpuFlags = -1;
    std::int32_t screenWidth = -1;
    std::int32_t screenHeight = -1;
    std::int32_t bitsPerPixel = -1;
    std::int32_t memoryMb = -1;
    // As the DirectX probe gives it: the minor number in the high 16 bits, the major in the low.
    std::int32_t directX = -1;
};

extern SystemNumbers gSystemNumbers;

// Start-up sets every cell to -1.
void resetSystemNumbers();

// The value of an operand: 0 for an empty text; the decimal value of a text that does not begin
// with "<"; the integer value of a list entry of that name (evaluated first when needed); one of
// the system names ("<RAM>", "<OSBuild>", "<CurXRes>", ...); 0 for anything else.
std::int32_t evaluateNumber(const ByteString& text);
