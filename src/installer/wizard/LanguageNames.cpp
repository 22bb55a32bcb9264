#include "installer/wizard/LanguageNames.h"

#include "installer/package/LanguageSet.h"
#include "installer/package/PackageHeaderFields.h"

#include <vector>

namespace {

bool readWord(const PackageSource& package, std::uint64_t offset, std::uint32_t& value)
{
    std::uint8_t b[4];
    if (!package.readAt(offset, b, 4))
        return false;
    value = std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16 | std::uint32_t(b[2]) << 8 | b[3];
    return true;
}

} // namespace

std::optional<std::vector<LanguageName>> readLanguageNames(const PackageSource& package, const ByteString& header)
{
    const std::uint32_t count = headerField(header, kHeaderFieldLanguageSetCount);
    std::uint64_t at = headerField(header, kHeaderFieldFirstLanguageSet);
    std::vector<LanguageName> names;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t size = 0;
        std::uint32_t nameLength = 0;
        if (!readWord(package, at, size) || !readWord(package, at + 4, nameLength) || nameLength > size ||
            nameLength > package.size())
            return std::nullopt;
        std::vector<std::uint8_t> name(nameLength);
        std::uint32_t number = 0;
        if ((nameLength > 0 && !package.readAt(at + 8, name.data(), nameLength)) ||
            !readWord(package, at + 8 + nameLength, number))
            return std::nullopt;
        names.push_back({ByteString(name.data(), nameLength), std::int32_t(number)});
        at += std::uint64_t(size) + 4;
    }
    return names;
}

std::int32_t preselectedLanguage(const std::vector<LanguageName>& names, std::int32_t preselection,
                                 std::int32_t current)
{
    const std::int32_t wanted = preselection == -1 ? current : preselection;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i].languageNumber == wanted)
            return std::int32_t(i);
    return 0;
}
