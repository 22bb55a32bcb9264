#include "installer/text/VersionTexts.h"

#include <cstddef>

namespace {

struct VersionPart {
    std::string_view digits;
    std::string_view rest;
};

VersionPart splitPart(std::string_view part)
{
    std::size_t end = 0;
    while (end < part.size() && part[end] >= '0' && part[end] <= '9')
        ++end;
    std::string_view digits = part.substr(0, end);
    // Leading zeros carry no value; any number of digits compares without overflow.
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    return {digits, part.substr(end)};
}

int comparePart(std::string_view a, std::string_view b)
{
    const VersionPart left = splitPart(a);
    const VersionPart right = splitPart(b);
    if (left.digits.empty() != right.digits.empty())
        return left.digits.empty() ? -1 : 1;
    if (left.digits.size() != right.digits.size())
        return left.digits.size() < right.digits.size() ? -1 : 1;
    if (const int digits = left.digits.compare(right.digits))
        return digits;
    return left.rest.compare(right.rest);
}

std::string_view nextPart(std::string_view& text)
{
    const std::size_t dot = text.find('.');
    const std::string_view part = text.substr(0, dot);
    text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    return part;
}

} // namespace

int compareVersionTexts(std::string_view a, std::string_view b)
{
    bool moreA = !a.empty();
    bool moreB = !b.empty();
    while (moreA && moreB) {
        moreA = a.find('.') != std::string_view::npos;
        moreB = b.find('.') != std::string_view::npos;
        if (const int part = comparePart(nextPart(a), nextPart(b)))
            return part < 0 ? -1 : 1;
    }
    if (moreA == moreB)
        return 0;
    return moreA ? 1 : -1;
}
