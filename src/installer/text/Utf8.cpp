#include "installer/text/Utf8.h"

#include <vector>

namespace {

bool isContinuation(std::uint8_t b)
{
    return (b & 0xC0) == 0x80;
}

bool isForbidden(std::uint32_t value)
{
    return (value >= 0xD800 && value <= 0xDFFF) || value == 0xFFFE || value == 0xFFFF;
}

// The bytes to decode: up to the NUL, and no further than maxBytes when it is not negative.
std::size_t inputLength(const char* text, int maxBytes)
{
    std::size_t n = 0;
    while ((maxBytes < 0 || n < static_cast<std::size_t>(maxBytes)) && text[n] != '\0')
        ++n;
    return n;
}

int fail(char16_t* out)
{
    if (out)
        out[0] = 0;
    return 0;
}

} // namespace

int utf8Decode(const char* text, int maxBytes, char16_t* out)
{
    if (!text)
        return fail(out);
    // Nothing is written unless the whole conversion succeeds: a failing text must not fill a
    // buffer that was sized for the failure's one NUL.
    if (out && utf8Decode(text, maxBytes, nullptr) == 0)
        return fail(out);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    const std::size_t length = inputLength(text, maxBytes);
    const bool limitedByCount = maxBytes >= 0 && length == static_cast<std::size_t>(maxBytes);
    std::size_t units = 0;
    auto emit = [&](std::uint32_t unit) {
        if (out)
            out[units] = static_cast<char16_t>(unit);
        ++units;
    };
    for (std::size_t i = 0; i < length;) {
        const std::uint8_t lead = bytes[i];
        std::size_t need = 0;
        if ((lead & 0xE0) == 0xC0)
            need = 1;
        else if ((lead & 0xF0) == 0xE0)
            need = 2;
        if (lead < 0x80 || need == 0) {
            emit(lead);
            ++i;
            continue;
        }
        // Continuation bytes present before the end of the input.
        std::size_t continuations = 0;
        while (continuations < need && i + 1 + continuations < length && isContinuation(bytes[i + 1 + continuations]))
            ++continuations;
        if (continuations < need) {
            const bool cutOffByMaxBytes = limitedByCount && i + 1 + continuations == length;
            if (cutOffByMaxBytes)
                return fail(out);
            emit(lead); // not a sequence: the Latin-1 character of the same value
            ++i;
            continue;
        }
        std::uint32_t value;
        if (need == 1) {
            value = ((lead & 0x1Fu) << 6) | (bytes[i + 1] & 0x3Fu);
            if (value < 0x80)
                return fail(out);
        } else {
            value = ((lead & 0x0Fu) << 12) | ((bytes[i + 1] & 0x3Fu) << 6) | (bytes[i + 2] & 0x3Fu);
            if (value < 0x800 || isForbidden(value))
                return fail(out);
        }
        emit(value);
        i += need + 1;
    }
    emit(0);
    return static_cast<int>(units);
}

int utf8Encode(const char16_t* wide, int maxUnits, char* out)
{
    std::size_t count = 0;
    auto put = [&](std::uint32_t b) {
        if (out)
            out[count] = static_cast<char>(b);
        ++count;
    };
    if (wide) {
        for (std::size_t i = 0; (maxUnits < 0 || i < static_cast<std::size_t>(maxUnits)) && wide[i] != 0; ++i) {
            const std::uint32_t u = wide[i];
            if (u < 0x80) {
                put(u);
            } else if (u < 0x800) {
                put(0xC0 | (u >> 6));
                put(0x80 | (u & 0x3F));
            } else {
                put(0xE0 | (u >> 12));
                put(0x80 | ((u >> 6) & 0x3F));
                put(0x80 | (u & 0x3F));
            }
        }
    }
    put(0);
    return static_cast<int>(count);
}

std::optional<std::u16string> utf8ToWide(const char* text, int maxBytes)
{
    if (!text)
        return std::nullopt;
    const int units = utf8Decode(text, maxBytes, nullptr);
    if (units == 0)
        return std::u16string();
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    utf8Decode(text, maxBytes, wide.data());
    wide.resize(static_cast<std::size_t>(units) - 1);
    return wide;
}

std::optional<ByteString> wideToUtf8(const char16_t* wide, int maxUnits)
{
    if (!wide)
        return std::nullopt;
    const int count = utf8Encode(wide, maxUnits, nullptr);
    std::vector<char> buffer(static_cast<std::size_t>(count));
    utf8Encode(wide, maxUnits, buffer.data());
    return ByteString(reinterpret_cast<const std::uint8_t*>(buffer.data()), static_cast<std::uint32_t>(count - 1));
}
