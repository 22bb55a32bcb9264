#pragma once
// Format with the component library's semantics, for the types the program uses:
//   %[index:][-][width][.precision]type with the types d u x s f c, and %%; the type letter may
//   also be upper case.
//   - "x" prints upper-case hexadecimal; a negative 32-bit integer prints as its unsigned value
//     (a negative 64-bit one as its 64-bit pattern); "u" likewise in decimal.
//   - for d, u, x the precision is the minimum number of digits (zero padded): "%.2x", "%2.2x";
//     "%.3d" of -5 is "-005". An empty precision ("%2.x") is precision 0.
//   - for f the precision is the number of decimals (2 when not given, at most 18); rounding is
//     half away from zero on the value's first 18 significant digits; the decimal separator is
//     FormatSettings().DecimalSeparator; NaN and infinities print "NAN", "INF", "-INF".
//   - for s the precision is the maximum number of characters.
//   - width pads with blanks on the left ("-" pads on the right); "*" takes the index, width or
//     precision from the next argument (a negative "*" width pads on the right, a negative "*"
//     precision counts as none). Widths and lengths of s count UTF-8 characters, not bytes.
//   - after "%n:" the arguments without index continue at n + 1.
//   - d, u, x, c take integers only (c prints the low byte), s takes text only, f takes
//     floating-point values and integers.
// Format never reads an argument that was not passed: a format that asks for a missing argument,
// or for an argument of the wrong kind, or that has an unknown type letter, ends in "%", or has a
// width, precision or index above 1024, raises EConvertError
// "Format '<format>' invalid or incompatible with argument".
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace kv {

struct TFormatSettings {
    char DecimalSeparator = '.';
};
// Process-wide settings; the Windows side fills them from the user's locale at start.
TFormatSettings& FormatSettings();

class FormatArg {
public:
    FormatArg(int v) : value_(static_cast<std::int64_t>(v)), is32_(true) {}
    FormatArg(unsigned v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(long v) : value_(static_cast<std::int64_t>(v)), is32_(sizeof(long) == 4) {}
    FormatArg(unsigned long v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(long long v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(unsigned long long v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(double v) : value_(v) {}
    FormatArg(const char* v) : value_(std::string(v ? v : "")) {}
    FormatArg(std::string v) : value_(std::move(v)) {}
    FormatArg(std::string_view v) : value_(std::string(v)) {}

    const std::variant<std::int64_t, double, std::string>& Value() const { return value_; }
    // True for values of a 32-bit signed type: "%x" of a negative one prints 8 digits.
    bool Is32Bit() const { return is32_; }

private:
    std::variant<std::int64_t, double, std::string> value_;
    bool is32_ = false;
};

std::string Format(std::string_view format, std::initializer_list<FormatArg> args);

} // namespace kv
