#include "installer/system/FileSystem.h"

#include "installer/text/CStrings.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

#include <cstring>

void ensureTempFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH, folder) && GetFileAttributesW(folder) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryW(folder, nullptr);
}

bool fileExists(const char* path)
{
    return !isNullOrEmpty(path) && GetFileAttributesW(WideName(path)) != INVALID_FILE_ATTRIBUTES;
}

bool forceDelete(const char* path)
{
    if (isNullOrEmpty(path))
        return true;
    const WideName name(path);
    const DWORD attributes = GetFileAttributesW(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(name, attributes & ~FILE_ATTRIBUTE_READONLY);
    DeleteFileW(name);
    return GetFileAttributesW(name) == INVALID_FILE_ATTRIBUTES;
}

namespace {

std::wstring windowsDirectoryWide()
{
    wchar_t buffer[MAX_PATH * 2] = {};
    const UINT size = MAX_PATH * 2;
    using SystemWindowsDirectoryFunction = UINT(WINAPI*)(LPWSTR, UINT);
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        auto function = reinterpret_cast<SystemWindowsDirectoryFunction>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemWindowsDirectoryW")));
        if (function) {
            const UINT n = function(buffer, size);
            return n < size ? std::wstring(buffer, n) : std::wstring();
        }
    }
    // Without the function: the system folder less its last component.
    const UINT n = GetSystemDirectoryW(buffer, size);
    if (n == 0 || n >= size)
        return std::wstring();
    std::wstring folder(buffer, n);
    const std::size_t lastSlash = folder.rfind(L'\\');
    if (lastSlash != std::wstring::npos)
        folder.resize(lastSlash);
    return folder;
}

} // namespace

std::uint32_t getWindowsDirectory(char* buffer, std::uint32_t size)
{
    const std::wstring wide = windowsDirectoryWide();
    const ByteString utf8 = utf8FromWide(wide.c_str());
    if (wide.empty() || !copyName(utf8, buffer, size))
        return 0;
    return utf8.length();
}
