#include "installer/system/TempFileName.h"

#include "installer/text/win/WideName.h"

#include <windows.h>

#include <cstring>

char* makeTempFileName(char* buffer, const char* extension)
{
    std::memset(buffer, 0, kPathBufferSize);
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH, folder);
    const ByteString folderName = n && n < MAX_PATH ? utf8FromWide(folder) : ByteString();
    ByteString copy(folderName);
    const std::string name = firstFreeTempFileName(copy.cStr(), GetTickCount(), extension,
        [](const std::string& candidate) { return GetFileAttributesW(WideName(candidate)) != INVALID_FILE_ATTRIBUTES; });
    copyName(ByteString(name.c_str()), buffer, kPathBufferSize);
    return buffer;
}
