#include "installer/system/win/SystemPaths.h"

#include "installer/text/win/WideName.h"

#include <windows.h>

#include <string>

namespace {

// Asks with a growing buffer: answer(buffer, size) gives the length, or the size it needs.
template <typename Answer>
ByteString askForPath(Answer answer)
{
    std::wstring buffer(MAX_PATH + 1, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD n = answer(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return ByteString();
        if (n < buffer.size())
            return utf8FromWide(buffer.c_str(), static_cast<int>(n));
        buffer.assign(static_cast<std::size_t>(n) + 1, L'\0');
    }
    return ByteString();
}

} // namespace

ByteString tempFolderPath()
{
    return askForPath([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
}

ByteString currentFolderPath()
{
    return askForPath([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
}

ByteString systemFolderPath()
{
    return askForPath([](wchar_t* buffer, DWORD size) { return static_cast<DWORD>(GetSystemDirectoryW(buffer, size)); });
}

ByteString moduleFilePath()
{
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return n > 0 && n < buffer.size() ? utf8FromWide(buffer.c_str(), static_cast<int>(n)) : ByteString();
}
