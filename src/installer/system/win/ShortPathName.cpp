#include "installer/system/ShortPathName.h"

#include <windows.h>

ByteString shortPathName(const char* path)
{
    char buffer[MAX_PATH + 1] = {};
    const DWORD n = path ? GetShortPathNameA(path, buffer, MAX_PATH) : 0;
    return ByteString(n > 0 && n < MAX_PATH ? buffer : "");
}
