#pragma once
// Text and number conversions of the run time.
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

std::string IntToStr(std::int64_t value);
// Reads a 32-bit integer: optional blanks, sign, decimal digits, or hexadecimal after "$" or "0x".
// Anything else, an empty text or a value outside 32 bits gives Default.
std::int32_t StrToIntDef(std::string_view text, std::int32_t Default);
// As StrToIntDef, but raises EConvertError "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);
// Lower-case copy of a text (ASCII letters only).
std::string LowerCase(std::string_view text);
// The extension of a file name with its dot (".mid"), empty without one; folders are not searched.
std::string ExtractFileExt(std::string_view fileName);

} // namespace kv
