#pragma once
// Which of the package's language sets fits the user's language before the first language page
// is built: an exact language-and-sublanguage match wins and ends the search, a later match of
// the primary language replaces an earlier one or the default set, and the default set counts
// only when nothing matched before it.
#include <cstdint>
#include <functional>
#include <optional>

struct LanguageSetOffer {
    std::int32_t languageNumber = 0;
    // The Windows LANGID the set serves: primary language in the low 10 bits.
    std::uint16_t langId = 0;
};

// Reads set i; nothing when it cannot be read (the search ends there).
using LanguageSetReader = std::function<std::optional<LanguageSetOffer>(std::uint32_t index)>;

// The index of the set taken, or -1 when none was.
std::int32_t pickLanguageSet(const LanguageSetReader& readSet, std::uint32_t count, std::uint32_t defaultIndex,
                             std::uint16_t userLangId);

// Takes the fitting set of the installer's package for userLangId: loads it when the package
// loads languages by itself, else preselects it on the language page. Runs once.
void chooseLanguageSet(std::uint16_t userLangId);
