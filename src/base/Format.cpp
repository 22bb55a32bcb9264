#include "base/Format.h"

#include "base/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kv {

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings;
    return settings;
}

namespace {

// Widths, precisions and indexes above this raise EConvertError: a format never makes Format
// allocate more than a little memory, whatever its numbers say.
constexpr std::int64_t MaxFormatNumber = 1024;
// The library computes floating-point text from 18 significant digits.
constexpr int MaxFloatDigits = 18;

[[noreturn]] void InvalidFormat(std::string_view format)
{
    throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

std::string UnsignedToText(std::uint64_t value, unsigned base)
{
    char buffer[24];
    char* p = buffer + sizeof buffer;
    do {
        *--p = "0123456789ABCDEF"[value % base];
        value /= base;
    } while (value != 0);
    return std::string(p, buffer + sizeof buffer);
}

// Characters of UTF-8 text (bytes that are not continuation bytes).
std::size_t CharCount(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The first Count characters of UTF-8 text.
std::string_view FirstChars(std::string_view text, std::size_t count)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == count) return text.substr(0, i);
            ++chars;
        }
    }
    return text;
}

// A finite value as the library's TFloatRec: |value| = 0.Digits * 10^Exponent, Digits without
// trailing zeros, empty for zero (then Negative is false). Digits holds at most Precision
// significant digits and no digit beyond Decimals places after the decimal point; the value is
// first taken to 18 significant digits, then rounded half away from zero, as the library does.
struct FloatRec {
    bool Negative = false;
    int Exponent = 0;
    std::string Digits;
};

FloatRec FloatToDecimal(double value, int precision, int decimals)
{
    FloatRec rec;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", MaxFloatDigits - 1, std::fabs(value));
    std::string digits;
    const char* p = buffer;
    for (; *p != '\0' && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += *p;
    if (digits.find_first_not_of('0') == std::string::npos) return rec; // zero
    rec.Negative = std::signbit(value);
    rec.Exponent = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;

    const long long keep = std::min<long long>(precision, static_cast<long long>(rec.Exponent) + decimals);
    if (keep < 0) return FloatRec{};
    if (keep < static_cast<long long>(digits.size())) {
        const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            std::size_t i = digits.size();
            while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
            if (i == 0) {
                digits.insert(digits.begin(), '1');
                ++rec.Exponent;
            } else {
                ++digits[i - 1];
            }
        }
    }
    const auto last = digits.find_last_not_of('0');
    if (last == std::string::npos) return FloatRec{};
    digits.resize(last + 1);
    rec.Digits = std::move(digits);
    return rec;
}

char DigitAt(const FloatRec& rec, long long index)
{
    return index >= 0 && index < static_cast<long long>(rec.Digits.size()) ? rec.Digits[static_cast<std::size_t>(index)] : '0';
}

// "ddd.ddd" without sign.
std::string FixedText(const FloatRec& rec, int decimals)
{
    std::string text;
    if (rec.Exponent <= 0)
        text = "0";
    else
        for (int i = 0; i < rec.Exponent; ++i) text += DigitAt(rec, i);
    if (decimals > 0) {
        text += FormatSettings().DecimalSeparator;
        for (int k = 0; k < decimals; ++k) text += DigitAt(rec, static_cast<long long>(rec.Exponent) + k);
    }
    return text;
}

std::string SpecialText(double value)
{
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string SignedText(const FloatRec& rec, std::string text)
{
    return rec.Negative ? "-" + text : text;
}

// f: fixed point with Decimals decimals (the library falls back to the exponent form above
// 10^18; we keep fixed digits, beyond the 18th significant digit they are zeros).
std::string FormatFixed(double value, int decimals)
{
    if (!std::isfinite(value)) return SpecialText(value);
    const FloatRec rec = FloatToDecimal(value, MaxFloatDigits, decimals);
    return SignedText(rec, FixedText(rec, decimals));
}

class Formatter {
public:
    Formatter(std::string_view format, std::initializer_list<FormatArg> args)
        : format_(format), args_(args.begin()), count_(args.size())
    {
    }

    std::string Run()
    {
        std::string result;
        result.reserve(format_.size() + 16);
        while (pos_ < format_.size()) {
            const auto percent = format_.find('%', pos_);
            if (percent == std::string_view::npos) {
                result.append(format_.substr(pos_));
                break;
            }
            result.append(format_.substr(pos_, percent - pos_));
            pos_ = percent + 1;
            if (pos_ < format_.size() && format_[pos_] == '%') {
                result += '%';
                ++pos_;
                continue;
            }
            Specifier(result);
        }
        return result;
    }

private:
    [[noreturn]] void Fail() const { InvalidFormat(format_); }

    const FormatArg& NextArg()
    {
        if (next_ >= count_) Fail();
        return args_[next_++];
    }

    std::int64_t NextIntArg()
    {
        const auto& value = NextArg().Value();
        if (!std::holds_alternative<std::int64_t>(value)) Fail();
        return std::get<std::int64_t>(value);
    }

    bool AtDigitOrStar() const
    {
        return pos_ < format_.size() && ((format_[pos_] >= '0' && format_[pos_] <= '9') || format_[pos_] == '*');
    }

    // Digits (saturating above MaxFormatNumber) or "*" (the next argument, an integer).
    std::int64_t Number()
    {
        if (format_[pos_] == '*') {
            ++pos_;
            return NextIntArg();
        }
        std::int64_t value = 0;
        while (pos_ < format_.size() && format_[pos_] >= '0' && format_[pos_] <= '9') {
            value = std::min<std::int64_t>(value * 10 + (format_[pos_] - '0'), MaxFormatNumber + 1);
            ++pos_;
        }
        return value;
    }

    void Specifier(std::string& result)
    {
        bool left = false;
        std::int64_t width = 0;
        std::int64_t precision = -1; // none
        bool haveWidth = false;

        if (AtDigitOrStar()) {
            width = Number();
            haveWidth = true;
            if (pos_ < format_.size() && format_[pos_] == ':') {
                // It was the index: later arguments without index follow it.
                if (width < 0 || width >= static_cast<std::int64_t>(count_)) Fail();
                next_ = static_cast<std::size_t>(width);
                ++pos_;
                width = 0;
                haveWidth = false;
            }
        }
        if (!haveWidth) {
            if (pos_ < format_.size() && format_[pos_] == '-') {
                left = true;
                ++pos_;
            }
            if (AtDigitOrStar()) width = Number();
        }
        if (width < 0) { // "*" with a negative value: left-justified, as in C
            left = true;
            width = -width;
        }
        if (width > MaxFormatNumber) Fail();
        if (pos_ < format_.size() && format_[pos_] == '.') {
            ++pos_;
            precision = AtDigitOrStar() ? Number() : 0; // "%2.x": an empty precision is 0
            if (precision < 0) precision = -1;          // "*" with a negative value: none
            if (precision > MaxFormatNumber) Fail();
        }
        if (pos_ >= format_.size()) Fail();
        char type = format_[pos_++];
        if (type >= 'a' && type <= 'z') type = static_cast<char>(type - 'a' + 'A');

        const FormatArg& arg = NextArg();
        const auto& value = arg.Value();
        std::string text;
        switch (type) {
        case 'D': {
            if (!std::holds_alternative<std::int64_t>(value)) Fail();
            const std::int64_t v = std::get<std::int64_t>(value);
            const std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
            text = ZeroPad(UnsignedToText(magnitude, 10), precision);
            if (v < 0) text.insert(text.begin(), '-');
            break;
        }
        case 'U':
        case 'X':
            if (!std::holds_alternative<std::int64_t>(value)) Fail();
            text = ZeroPad(UnsignedToText(AsUnsigned(arg), type == 'X' ? 16 : 10), precision);
            break;
        case 'F': {
            double v = 0;
            if (std::holds_alternative<double>(value))
                v = std::get<double>(value);
            else if (std::holds_alternative<std::int64_t>(value))
                v = static_cast<double>(std::get<std::int64_t>(value));
            else
                Fail();
            text = FormatFixed(v, static_cast<int>(std::min<std::int64_t>(precision < 0 ? 2 : precision, MaxFloatDigits)));
            break;
        }
        case 'S':
            if (!std::holds_alternative<std::string>(value)) Fail();
            text = std::get<std::string>(value);
            if (precision >= 0) text = std::string(FirstChars(text, static_cast<std::size_t>(precision)));
            break;
        case 'C':
            if (!std::holds_alternative<std::int64_t>(value)) Fail();
            text.assign(1, static_cast<char>(static_cast<unsigned char>(std::get<std::int64_t>(value) & 0xFF)));
            if (precision == 0) text.clear();
            break;
        default:
            Fail();
        }

        const auto length = static_cast<std::int64_t>(CharCount(text));
        if (width > length) {
            const auto pad = static_cast<std::size_t>(width - length);
            if (left)
                text.append(pad, ' ');
            else
                text.insert(0, pad, ' ');
        }
        result += text;
    }

    static std::string ZeroPad(std::string digits, std::int64_t precision)
    {
        if (precision > static_cast<std::int64_t>(digits.size()))
            digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
        return digits;
    }

    // A negative value of a 32-bit type shows its 32-bit pattern, a wider one its 64-bit pattern.
    static std::uint64_t AsUnsigned(const FormatArg& arg)
    {
        const std::int64_t v = std::get<std::int64_t>(arg.Value());
        if (arg.Is32Bit()) return static_cast<std::uint32_t>(v);
        return static_cast<std::uint64_t>(v);
    }

    std::string_view format_;
    const FormatArg* args_;
    std::size_t count_;
    std::size_t next_ = 0;
    std::size_t pos_ = 0;
};

} // namespace

std::string Format(std::string_view format, std::initializer_list<FormatArg> args)
{
    return Formatter(format, args).Run();
}

} // namespace kv
