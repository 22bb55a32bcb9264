// The ANSI code page of the system.
#include "base/AnsiText.h"

#include <windows.h>

namespace kv {

namespace {

std::wstring ToWide(UINT CodePage, std::string_view Text)
{
    if (Text.empty()) return {};
    const int size = static_cast<int>(Text.size());
    const int length = MultiByteToWideChar(CodePage, 0, Text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(CodePage, 0, Text.data(), size, wide.data(), length);
    return wide;
}

std::string FromWide(UINT CodePage, const std::wstring& Wide)
{
    if (Wide.empty()) return {};
    const int size = static_cast<int>(Wide.size());
    const bool utf8 = CodePage == CP_UTF8;
    const int length = WideCharToMultiByte(CodePage, 0, Wide.data(), size, nullptr, 0, utf8 ? nullptr : "?", nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    if (length > 0) WideCharToMultiByte(CodePage, 0, Wide.data(), size, text.data(), length, utf8 ? nullptr : "?", nullptr);
    return text;
}

} // namespace

std::string AnsiToUtf8(std::string_view Text) { return FromWide(CP_UTF8, ToWide(CP_ACP, Text)); }

std::string Utf8ToAnsi(std::string_view Text) { return FromWide(CP_ACP, ToWide(CP_UTF8, Text)); }

} // namespace kv
