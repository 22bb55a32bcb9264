#pragma once
// Texts of numbers and sizes.
#include "installer/text/ByteString.h"

#include <cstdint>

// "0", "-9223372036854775808", or the decimal digits with a leading "-" for negative values.
// buffer needs 21 bytes; returns it.
char* int64ToText(std::int64_t value, char* buffer);
// "%d KB" below 1 MB, otherwise "%d%s%d MB" (or GB, TB) with one decimal digit after the
// given decimal separator.
void formatSizeWithSeparator(std::uint64_t byteCount, const char* separator, ByteString& out);
// The same with the user's decimal separator ("," when it cannot be read).
void formatSize(std::uint64_t byteCount, ByteString& out);
