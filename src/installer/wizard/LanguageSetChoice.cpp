#include "installer/wizard/LanguageSetChoice.h"

#include "installer/package/LanguageSet.h"
#include "installer/package/PackageHeaderFields.h"
#include "installer/state/InstallerState.h"

#include <memory>

namespace {

constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;

} // namespace

std::int32_t pickLanguageSet(const LanguageSetReader& readSet, std::uint32_t count, std::uint32_t defaultIndex,
                             std::uint16_t userLangId)
{
    std::int32_t taken = -1;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::optional<LanguageSetOffer> set = readSet ? readSet(i) : std::nullopt;
        if (!set)
            break;
        const bool primaryMatch = (userLangId & kPrimaryLanguageMask) == (set->langId & kPrimaryLanguageMask);
        if (primaryMatch || (taken < 0 && i == defaultIndex))
            taken = static_cast<std::int32_t>(i);
        if (primaryMatch && userLangId == set->langId)
            break;
    }
    return taken;
}

void chooseLanguageSet(std::uint16_t userLangId)
{
    if (gMainInstaller.languageChosen)
        return;
    gMainInstaller.languageChosen = true;
    const std::unique_ptr<PackageSource> file = openPackageFile(gPackagePath.cStr());
    if (!file)
        return;
    std::vector<std::int32_t> numbers;
    const LanguageSetReader reader = [&](std::uint32_t index) -> std::optional<LanguageSetOffer> {
        LanguageSet set;
        if (!readLanguageSet(*file, gPackageHeader, index, set))
            return std::nullopt;
        numbers.resize(index + 1);
        numbers[index] = set.languageNumber;
        return LanguageSetOffer{set.languageNumber, set.langId};
    };
    const std::int32_t taken =
        pickLanguageSet(reader, headerField(gPackageHeader, kHeaderFieldLanguageSetCount),
                        headerField(gPackageHeader, kHeaderFieldDefaultLanguageSet), userLangId);
    if (taken < 0)
        return;
    if (gPackageToc.languagePageAutoLoad != 0)
        loadLanguageSet(taken);
    else
        gPackageToc.languagePreselection = numbers[static_cast<std::size_t>(taken)];
}
