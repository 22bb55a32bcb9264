#include "installer/text/SystemNames.h"

#include <cstring>
#include <vector>

namespace {

bool isContinuation(std::uint8_t b)
{
    return (b & 0xC0) == 0x80;
}

struct Sequence {
    std::size_t length = 0; // 0: not a well-formed sequence
    char32_t value = 0;
};

Sequence sequenceAt(const std::uint8_t* bytes, std::size_t available)
{
    const std::uint8_t lead = bytes[0];
    std::size_t need = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        need = 1;
        value = lead & 0x1Fu;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        need = 2;
        value = lead & 0x0Fu;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        need = 3;
        value = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return {};
    }
    if (need >= available)
        return {};
    for (std::size_t i = 1; i <= need; ++i) {
        if (!isContinuation(bytes[i]))
            return {};
        value = (value << 6) | (bytes[i] & 0x3Fu);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return {};
    return {need + 1, value};
}

} // namespace

std::u16string nameToUtf16(const char* utf8, std::size_t length)
{
    std::u16string wide;
    if (!utf8)
        return wide;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8);
    wide.reserve(length);
    for (std::size_t i = 0; i < length;) {
        if (bytes[i] < 0x80) {
            wide.push_back(bytes[i++]);
            continue;
        }
        const Sequence s = sequenceAt(bytes + i, length - i);
        if (s.length == 0) {
            wide.push_back(bytes[i++]); // the Latin-1 character of the same value
            continue;
        }
        if (s.value >= 0x10000) {
            const char32_t v = s.value - 0x10000;
            wide.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            wide.push_back(static_cast<char16_t>(s.value));
        }
        i += s.length;
    }
    return wide;
}

std::u16string nameToUtf16(const char* utf8)
{
    return nameToUtf16(utf8, utf8 ? std::strlen(utf8) : 0);
}

ByteString nameFromUtf16(const char16_t* wide, std::size_t units)
{
    std::vector<std::uint8_t> bytes;
    if (wide)
        bytes.reserve(units * 3);
    auto put = [&](char32_t b) { bytes.push_back(static_cast<std::uint8_t>(b)); };
    for (std::size_t i = 0; wide && i < units; ++i) {
        char32_t u = wide[i];
        const bool pair = u >= 0xD800 && u <= 0xDBFF && i + 1 < units && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
        if (pair) {
            u = 0x10000 + ((u - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        }
        if (u < 0x80) {
            put(u);
        } else if (u < 0x800) {
            put(0xC0 | (u >> 6));
            put(0x80 | (u & 0x3F));
        } else if (u < 0x10000) {
            put(0xE0 | (u >> 12));
            put(0x80 | ((u >> 6) & 0x3F));
            put(0x80 | (u & 0x3F));
        } else {
            put(0xF0 | (u >> 18));
            put(0x80 | ((u >> 12) & 0x3F));
            put(0x80 | ((u >> 6) & 0x3F));
            put(0x80 | (u & 0x3F));
        }
    }
    return ByteString(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

ByteString nameFromUtf16(const char16_t* wide)
{
    std::size_t units = 0;
    while (wide && wide[units] != 0)
        ++units;
    return nameFromUtf16(wide, units);
}
