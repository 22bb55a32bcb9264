#include "installer/text/NumberTexts.h"

#include <windows.h>

#include <cstring>

void formatSize(std::uint64_t byteCount, ByteString& out)
{
    char separator[10] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) == 0)
        std::strcpy(separator, ",");
    formatSizeWithSeparator(byteCount, separator, out);
}
