#include "installer/system/TempFileName.h"

#include <windows.h>

#include <cstring>

char* makeTempFileName(char* buffer, const char* extension)
{
    std::memset(buffer, 0, kPathBufferSize);
    char folder[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(MAX_PATH, folder);
    const std::string name = firstFreeTempFileName(n && n < MAX_PATH ? folder : "", GetTickCount(), extension,
        [](const std::string& candidate) { return GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES; });
    std::strncpy(buffer, name.c_str(), kPathBufferSize - 1);
    return buffer;
}
