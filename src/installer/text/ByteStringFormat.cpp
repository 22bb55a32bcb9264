#include "installer/text/ByteString.h"

#include <cstring>

// The installer's small formatter. It is bounded: it never uses more arguments than it was
// given and writes only through ByteString, whatever the format text (package texts reach it).

namespace {

ByteString numberText(char conversion, const FormatArg& arg)
{
    const std::int32_t value = arg.isText ? 0 : arg.number;
    const std::uint32_t bits = static_cast<std::uint32_t>(value);
    ByteString text;
    switch (conversion) {
    case 'b':
    case 'h': {
        const unsigned shift = conversion == 'b' ? 1 : 4;
        const std::uint32_t mask = conversion == 'b' ? 1 : 15;
        char digits[33];
        int count = 0;
        std::uint32_t rest = bits;
        do {
            digits[count++] = "0123456789ABCDEF"[rest & mask];
            rest >>= shift;
        } while (rest);
        while (count > 0)
            text.appendChar(static_cast<std::uint8_t>(digits[--count]));
        break;
    }
    case 'c':
        text.appendChar(static_cast<std::uint8_t>(bits & 0xFF));
        break;
    case 'd': {
        std::int64_t wide = value;
        if (wide < 0) {
            text.appendChar('-');
            wide = -wide;
        }
        char digits[12];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + wide % 10);
            wide /= 10;
        } while (wide);
        while (count > 0)
            text.appendChar(static_cast<std::uint8_t>(digits[--count]));
        break;
    }
    }
    return text;
}

bool isConversion(std::uint8_t c)
{
    return c == 'b' || c == 'c' || c == 'd' || c == 'h' || c == 's';
}

} // namespace

void ByteString::format(const char* fmt, std::initializer_list<FormatArg> args)
{
    if (!fmt)
        return;
    const std::uint32_t base = length_;
    appendCStr(fmt);
    const FormatArg* nextArg = args.begin();
    std::uint32_t i = base;
    while (i + 1 < length_) {
        const std::uint8_t letter = at(i + 1);
        if (at(i) != '%' || !isConversion(letter) || nextArg == args.end()) {
            ++i;
            continue;
        }
        const FormatArg& arg = *nextArg++;
        ByteString value;
        if (letter == 's')
            value.assignCStr(arg.isText ? arg.text : nullptr);
        else
            value = numberText(static_cast<char>(letter), arg);
        erase(i, 2);
        insertBytes(value.data(), value.length(), i);
        i += value.length();
    }
}
