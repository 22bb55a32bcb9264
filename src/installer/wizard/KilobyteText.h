#pragma once
// Byte counts shown in kilobytes with the user's thousands separator ("12.056 K").
#include "installer/text/ByteString.h"

#include <cstdint>
#include <optional>

// The separator from the locale's setting: its only character; a blank when the setting could
// not be read or is longer than one character.
char thousandsSeparator(const std::optional<ByteString>& setting);
// bytes / 1024 in decimal, the separator every three digits from the right, then " K".
ByteString kilobyteText(std::uint64_t bytes, char separator);
