// Off Windows the ANSI code page is Windows-1252, the code page of Western systems.
#include "base/AnsiText.h"

#include <cstdint>

namespace kv {

namespace {

// Bytes $80-$9F; the five bytes 1252 leaves open stand for the control characters of their code.
constexpr char16_t High1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t FromByte(unsigned char Byte) { return Byte >= 0x80 && Byte < 0xA0 ? High1252[Byte - 0x80] : Byte; }

void AppendUtf8(std::string& Out, char32_t C)
{
    if (C < 0x80) {
        Out += static_cast<char>(C);
    } else if (C < 0x800) {
        Out += static_cast<char>(0xC0 | (C >> 6));
        Out += static_cast<char>(0x80 | (C & 0x3F));
    } else {
        Out += static_cast<char>(0xE0 | (C >> 12));
        Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (C & 0x3F));
    }
}

// The next character of well-formed or broken UTF-8; a broken byte stands for itself as U+FFFD.
char32_t NextChar(std::string_view Text, std::size_t& I)
{
    const auto lead = static_cast<unsigned char>(Text[I++]);
    if (lead < 0x80) return lead;
    const std::size_t length = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (length == 0) return 0xFFFD;
    char32_t c = lead & (0x3F >> length);
    for (std::size_t k = 0; k < length; ++k) {
        if (I >= Text.size() || (static_cast<unsigned char>(Text[I]) & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (static_cast<unsigned char>(Text[I++]) & 0x3F);
    }
    return c;
}

} // namespace

std::string AnsiToUtf8(std::string_view Text)
{
    std::string out;
    for (char c : Text) AppendUtf8(out, FromByte(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToAnsi(std::string_view Text)
{
    std::string out;
    for (std::size_t i = 0; i < Text.size();) {
        const char32_t c = NextChar(Text, i);
        char byte = '?';
        for (int b = 0; b < 256; ++b)
            if (FromByte(static_cast<unsigned char>(b)) == c) {
                byte = static_cast<char>(b);
                break;
            }
        out += byte;
    }
    return out;
}

} // namespace kv
