#pragma once
// The license and readme texts: a table in the package of [BE32 language number][BE32 length]
// [text] entries, and how a chosen text is shown.
#include "installer/package/PackageSource.h"
#include "installer/text/ByteString.h"

#include <cstdint>
#include <optional>

// The entry of the language with a non-empty text, else the last entry of language 0, else an
// empty text; none when an entry cannot be read.
std::optional<ByteString> choosePageText(const PackageSource& package, std::uint32_t offset, std::uint32_t count,
                                         std::int32_t languageNumber);

struct PageTextDisplay {
    // Streamed in as RTF; otherwise set as plain text.
    bool rich = false;
    ByteString text;
};
// Rich only in a rich edit without the package's plain-text option; a text beginning with
// "plain://" is plain and loses the prefix.
PageTextDisplay pageTextDisplay(const ByteString& text, bool richEdit, bool plainOption);
