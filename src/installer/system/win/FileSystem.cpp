#include "installer/system/FileSystem.h"

#include "installer/text/CStrings.h"

#include <windows.h>

#include <cstring>

void ensureTempFolder()
{
    char folder[MAX_PATH + 1] = {};
    if (GetTempPathA(MAX_PATH, folder) && !fileExists(folder))
        CreateDirectoryA(folder, nullptr);
}

bool fileExists(const char* path)
{
    return !isNullOrEmpty(path) && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool forceDelete(const char* path)
{
    if (isNullOrEmpty(path))
        return true;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    DeleteFileA(path);
    return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
}

std::uint32_t getWindowsDirectory(char* buffer, std::uint32_t size)
{
    using SystemWindowsDirectoryFunction = UINT(WINAPI*)(LPSTR, UINT);
    if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
        auto function = reinterpret_cast<SystemWindowsDirectoryFunction>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemWindowsDirectoryA")));
        if (function) {
            const UINT n = function(buffer, size);
            return n < size ? n : 0;
        }
    }
    if ((GetVersion() & 0x80000000u) == 0) {
        // NT without the function: the system folder less its last component.
        const UINT n = GetSystemDirectoryA(buffer, size);
        if (n == 0 || n >= size)
            return 0;
        char* lastSlash = std::strrchr(buffer, '\\');
        if (lastSlash)
            *lastSlash = '\0';
        return static_cast<std::uint32_t>(std::strlen(buffer));
    }
    const UINT n = GetWindowsDirectoryA(buffer, size);
    return n < size ? n : 0;
}
