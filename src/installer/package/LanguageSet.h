#pragma once
// The package's language sets: one table of texts per language. Header field 164 gives the file
// offset of the first set, 156 the number of sets, 160 the default one. A set is (big-endian
// 32-bit integers): [size of the rest][name length L][L bytes of name][language number]
// [Windows LANGID][table length T][T bytes of table, scrambled twice]; the next set follows the
// table. The table is UTF-8 lines separated by CR LF; line i is the text of index i.
#include "installer/package/PackageSource.h"
#include "installer/state/InstallerState.h"
#include "installer/text/ByteString.h"

#include <cstdint>
#include <functional>
#include <vector>

constexpr std::uint32_t kHeaderFieldLanguageSetCount = 156;
constexpr std::uint32_t kHeaderFieldDefaultLanguageSet = 160;
constexpr std::uint32_t kHeaderFieldFirstLanguageSet = 164;

struct LanguageSet {
    ByteString name;
    // The package's own number for the language ("<LanguageID>", language blocks, license tables).
    std::int32_t languageNumber = 0;
    std::uint16_t langId = 0;
    // The table's lines, at most one per language text.
    std::vector<ByteString> lines;
};

// Reads set index (counted from 0) of the header's language sets; false when the index is not one
// of the sets, a set does not lie whole inside the file or its table fails a scramble check.
bool readLanguageSet(const PackageSource& file, const ByteString& header, std::uint32_t index, LanguageSet& set);

// Puts the set's lines into texts: each line has its variables replaced by expand, then "<\t>",
// "<\r>" and "<\n>" become a tab, a carriage return and a line feed. Texts the set has no line for
// are emptied.
void applyLanguageSet(const LanguageSet& set, const std::function<void(ByteString&)>& expand,
                      std::array<ByteString, kLanguageTextCount>& texts);

// Loads set n of the package into the language texts and makes its language current; false (and
// nothing changed) when it cannot be read.
bool loadLanguageSet(std::int32_t n);
