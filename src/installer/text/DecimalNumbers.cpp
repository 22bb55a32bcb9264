#include "installer/text/DecimalNumbers.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

std::int32_t decimalValue(const char* text)
{
    if (!text)
        return 0;
    while (isBlank(*text))
        ++text;
    bool negative = false;
    if (*text == '-' || *text == '+')
        negative = *text++ == '-';
    std::uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10u + static_cast<std::uint32_t>(*text - '0');
    if (negative)
        value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::int32_t decimalValue(const ByteString& text)
{
    ByteString copy(text);
    return decimalValue(copy.cStr());
}

ByteString decimalText(std::int32_t value)
{
    ByteString text;
    text.format("%d", value);
    return text;
}

bool isExactDecimal(const ByteString& text)
{
    return !text.empty() && decimalText(decimalValue(text)).equals(text);
}
