#include "base/Conversions.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/ResStr.h"

#include <optional>

namespace kv {

std::string IntToStr(std::int64_t value)
{
    return std::to_string(value);
}

namespace {

int DigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// The library's Val for 32-bit integers: leading blanks (spaces, tabs), an optional sign, then
// decimal digits or hexadecimal digits after "$", "0x" or "0X". Nothing may follow the digits.
// Decimal values must lie in -2147483648..2147483647; hexadecimal values may use all 32 bits
// ("$FFFFFFFF" is -1), as in the library, and the sign applies afterwards.
std::optional<std::int32_t> ParseInt32(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt; // no digits
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit >= static_cast<int>(base)) return std::nullopt;
        value = value * base + static_cast<unsigned>(digit);
        if (value > limit) return std::nullopt;
    }
    auto bits = static_cast<std::uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

} // namespace

std::int32_t StrToIntDef(std::string_view text, std::int32_t Default)
{
    return ParseInt32(text).value_or(Default);
}

std::int32_t StrToInt(std::string_view text)
{
    if (auto value = ParseInt32(text)) return *value;
    throw EConvertError(Format(ResStr("'%s' is not a valid integer value"), {std::string(text)}));
}

std::string LowerCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string ExtractFileExt(std::string_view fileName)
{
    // The last '.', '/', '\\' or ':' (the drive separator) decides: only a dot starts an extension.
    const auto last = fileName.find_last_of("./\\:");
    if (last == std::string_view::npos || fileName[last] != '.') return {};
    return std::string(fileName.substr(last));
}

} // namespace kv
