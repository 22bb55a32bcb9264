#include "installer/text/win/WideName.h"

#include "installer/text/SystemNames.h"

#include <windows.h>

#include <cstring>

namespace {

std::wstring toWide(const char* utf8, std::size_t length)
{
    const std::u16string wide = nameToUtf16(utf8, length);
    return std::wstring(wide.begin(), wide.end());
}

} // namespace

WideName::WideName(const char* utf8) : null_(utf8 == nullptr)
{
    if (utf8)
        text_ = toWide(utf8, std::strlen(utf8));
}

WideName::WideName(const std::string& utf8) : text_(toWide(utf8.c_str(), std::strlen(utf8.c_str()))) {}

WideName::WideName(const ByteString& utf8)
{
    ByteString copy(utf8);
    const char* text = copy.cStr();
    text_ = toWide(text, std::strlen(text));
}

ByteString utf8FromWide(const wchar_t* wide, int units)
{
    if (!wide)
        return ByteString();
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    const auto* text = reinterpret_cast<const char16_t*>(wide);
    return units < 0 ? nameFromUtf16(text) : nameFromUtf16(text, static_cast<std::size_t>(units));
}

bool copyName(const ByteString& name, char* buffer, std::size_t size)
{
    if (!buffer || size == 0)
        return false;
    if (name.length() >= size) {
        buffer[0] = '\0';
        return false;
    }
    if (name.length())
        std::memcpy(buffer, name.data(), name.length());
    buffer[name.length()] = '\0';
    return true;
}
