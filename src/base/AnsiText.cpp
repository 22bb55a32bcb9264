#include "base/AnsiText.h"

namespace kv {

bool IsValidUtf8(std::string_view Text)
{
    std::size_t i = 0;
    while (i < Text.size()) {
        const auto lead = static_cast<unsigned char>(Text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF; // the range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;       // overlong
            else if (lead == 0xED) high = 0x9F; // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;       // overlong
            else if (lead == 0xF4) high = 0x8F; // above U+10FFFF
        } else {
            return false;
        }
        if (i + length > Text.size()) return false;
        const auto second = static_cast<unsigned char>(Text[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < length; ++k)
            if ((static_cast<unsigned char>(Text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

} // namespace kv
