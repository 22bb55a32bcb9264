#include "installer/wizard/KilobyteText.h"

char thousandsSeparator(const std::optional<ByteString>& setting)
{
    if (!setting || setting->length() != 1)
        return ' ';
    return char(setting->at(0));
}

ByteString kilobyteText(std::uint64_t bytes, char separator)
{
    std::uint64_t kilobytes = bytes / 1024;
    ByteString reversed;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0)
            reversed.appendChar(std::uint8_t(separator));
        reversed.appendChar(std::uint8_t('0' + kilobytes % 10));
        kilobytes /= 10;
        ++digits;
    } while (kilobytes > 0);
    ByteString text;
    for (std::uint32_t i = reversed.length(); i-- > 0;)
        text.appendChar(reversed.at(i));
    text.appendCStr(" K");
    return text;
}
