#include "installer/wizard/PageTextTable.h"

#include <vector>

namespace {

std::uint32_t be32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

bool readText(const PackageSource& package, std::uint64_t offset, std::uint32_t length, ByteString& text)
{
    if (length > package.size())
        return false;
    std::vector<std::uint8_t> bytes(length);
    if (length > 0 && !package.readAt(offset, bytes.data(), length))
        return false;
    text = ByteString(bytes.data(), length);
    return true;
}

} // namespace

std::optional<ByteString> choosePageText(const PackageSource& package, std::uint32_t offset, std::uint32_t count,
                                         std::int32_t languageNumber)
{
    ByteString fallback;
    std::uint64_t at = offset;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t head[8];
        if (!package.readAt(at, head, 8))
            return std::nullopt;
        const std::int32_t language = std::int32_t(be32(head));
        const std::uint32_t length = be32(head + 4);
        at += 8;
        ByteString text;
        if (!readText(package, at, length, text))
            return std::nullopt;
        at += length;
        if (language == languageNumber && !text.empty())
            return text;
        if (language == 0)
            fallback = text;
    }
    return fallback;
}

PageTextDisplay pageTextDisplay(const ByteString& text, bool richEdit, bool plainOption)
{
    const bool plainPrefix = text.startsWith("plain://");
    PageTextDisplay display;
    display.rich = richEdit && !plainOption && !plainPrefix;
    display.text = plainPrefix ? text.substr(8, text.length() - 8) : text;
    return display;
}
