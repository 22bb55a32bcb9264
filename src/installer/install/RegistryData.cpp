#include "installer/install/RegistryData.h"

#include "installer/state/TocEntries.h"

#include <string>

namespace {

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<std::vector<std::uint8_t>> binaryData(const std::string& text)
{
    std::vector<std::uint8_t> bytes;
    // Each pair is followed by one separator: positions 0 and 1 of every three are digits.
    for (std::size_t pos = 0; pos + 1 < text.size(); pos += 3) {
        const int high = hexDigitValue(text[pos]);
        const int low = hexDigitValue(text[pos + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    if (text.size() % 3 == 1 && hexDigitValue(text.back()) < 0)
        return std::nullopt;
    return bytes;
}

std::vector<std::uint8_t> stringData(const std::string& text)
{
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::vector<std::uint8_t> listData(std::string text)
{
    const std::string separator = "<\\0>";
    for (std::size_t pos = 0; (pos = text.find(separator, pos)) != std::string::npos; ++pos)
        text.replace(pos, separator.size(), 1, '\0');
    if (text.empty() || text.back() != '\0')
        text.push_back('\0');
    return stringData(text);
}

} // namespace

std::uint32_t leadingDecimal(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || *text == '\t')
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    std::uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10 + static_cast<std::uint32_t>(*text - '0');
    return negative ? 0u - value : value;
}

std::optional<std::vector<std::uint8_t>> registryValueData(std::int32_t type, const ByteString& text)
{
    const std::string bytes(reinterpret_cast<const char*>(text.data()), text.length());
    switch (type) {
    case kRegistryString:
    case kRegistryExpandString:
        return stringData(bytes);
    case kRegistryDword: {
        const std::uint32_t value = leadingDecimal(bytes.c_str());
        return std::vector<std::uint8_t>{static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                         static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    }
    case kRegistryBinary:
        return binaryData(bytes);
    default:
        return listData(bytes);
    }
}
