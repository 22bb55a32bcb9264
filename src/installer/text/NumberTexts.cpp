#include "installer/text/NumberTexts.h"

#include <cstring>

char* int64ToText(std::int64_t value, char* buffer)
{
    if (value == INT64_MIN) {
        std::strcpy(buffer, "-9223372036854775808");
        return buffer;
    }
    char digits[20];
    int count = 0;
    std::uint64_t magnitude = value < 0 ? static_cast<std::uint64_t>(-value) : static_cast<std::uint64_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    char* p = buffer;
    if (value < 0)
        *p++ = '-';
    while (count > 0)
        *p++ = digits[--count];
    *p = '\0';
    return buffer;
}

void formatSizeWithSeparator(std::uint64_t byteCount, const char* separator, ByteString& out)
{
    out.assignCStr("");
    if (byteCount < 1048576) {
        out.format("%d KB", static_cast<std::int32_t>(byteCount / 1024));
        return;
    }
    std::uint64_t v = byteCount / 1024;
    const char* unit = "MB";
    for (const char* larger : {"GB", "TB"}) {
        if (v < 1048576)
            break;
        v /= 1024;
        unit = larger;
    }
    std::uint64_t decimal = (v - 1024 * (v / 1024)) / 100;
    if (decimal > 9)
        decimal = 9;
    out.format("%d%s%d ", static_cast<std::int32_t>(v / 1024), separator ? separator : ",", static_cast<std::int32_t>(decimal));
    out.appendCStr(unit);
}
