#pragma once
// The language texts a package can show, worked out from its pages, options and content, and
// the ones each of its language sets leaves empty. A package without page templates installs
// silently and shows no language text.
#include "PackageBuilder.h"

#include <set>
#include <string>
#include <vector>

struct EmptyLanguageTexts {
    std::string setName;
    std::vector<std::size_t> entries;
};

// The entry numbers (0-199) that the package's pages, options and content can show.
std::set<std::size_t> languageTextsShown(const nlohmann::json& description);
// For each language set that leaves one of them empty (or has fewer lines), the set's name and
// those entry numbers; sets given as a raw "table" are read as the installer reads them.
std::vector<EmptyLanguageTexts> emptyLanguageTexts(const nlohmann::json& description);
// "language set "English" leaves empty texts the package shows: 17, 76, 77"
std::string emptyLanguageTextsMessage(const EmptyLanguageTexts& empty);
