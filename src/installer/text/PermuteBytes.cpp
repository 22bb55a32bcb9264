#include "installer/text/PermuteBytes.h"

std::uint8_t permuteByte(std::uint8_t b)
{
    return static_cast<std::uint8_t>(((b >> 6) & 0x03) | ((b >> 2) & 0x0C) | ((b << 2) & 0x30) | ((b << 6) & 0xC0));
}

void permuteBytes(char* text)
{
    if (!text)
        return;
    for (; *text; ++text)
        *text = static_cast<char>(permuteByte(static_cast<std::uint8_t>(*text)));
}

void permuteBytes(ByteString& text)
{
    std::uint8_t* p = text.data();
    for (std::uint32_t i = 0; i < text.length(); ++i)
        p[i] = permuteByte(p[i]);
}
