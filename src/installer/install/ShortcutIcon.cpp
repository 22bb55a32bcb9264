#include "installer/install/ShortcutIcon.h"

#include <climits>

namespace {

int leadingIconIndex(const std::string& text)
{
    std::size_t pos = text.find_first_not_of(" \t");
    if (pos == std::string::npos)
        return 0;
    const bool negative = text[pos] == '-';
    if (negative)
        ++pos;
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > INT_MAX)
            return 0;
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace

ShortcutIcon parseShortcutIcon(const std::string& text)
{
    const std::size_t comma = text.rfind(',');
    if (comma == std::string::npos)
        return {text, 0};
    return {text.substr(0, comma), leadingIconIndex(text.substr(comma + 1))};
}
