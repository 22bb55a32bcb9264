#pragma once
// The names and language numbers of the package's language sets, in package order, for the
// language page's list.
#include "installer/package/PackageSource.h"
#include "installer/text/ByteString.h"

#include <cstdint>
#include <optional>
#include <vector>

struct LanguageName {
    ByteString name;
    std::int32_t languageNumber = 0;
};

// None when a set cannot be read.
std::optional<std::vector<LanguageName>> readLanguageNames(const PackageSource& package, const ByteString& header);
// The list line to select: the set of the preselected language number, or with -1 of the
// current one; 0 when none matches.
std::int32_t preselectedLanguage(const std::vector<LanguageName>& names, std::int32_t preselection,
                                 std::int32_t current);
