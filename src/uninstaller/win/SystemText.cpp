#include "uninstaller/win/SystemText.h"

std::wstring systemName(const std::string& bytes)
{
    if (bytes.empty())
        return std::wstring();
    const int length = static_cast<int>(bytes.size());
    for (const UINT codePage : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)}) {
        const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
        const int wide = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
        if (wide <= 0)
            continue;
        std::wstring text(static_cast<std::size_t>(wide), L'\0');
        MultiByteToWideChar(codePage, flags, bytes.data(), length, text.data(), wide);
        return text;
    }
    return std::wstring(bytes.begin(), bytes.end());
}

std::string utf8Of(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}
