#include "installer/system/ShortPathName.h"

#include "installer/text/win/WideName.h"

#include <windows.h>

ByteString shortPathName(const char* path)
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD n = path ? GetShortPathNameW(WideName(path), buffer, MAX_PATH) : 0;
    return n > 0 && n < MAX_PATH ? utf8FromWide(buffer) : ByteString();
}
