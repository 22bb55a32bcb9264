#pragma once
// The bytes a registry value of the package is written with, made from its data text.
#include "installer/text/ByteString.h"

#include <cstdint>
#include <optional>
#include <vector>

// Strings (1, 2): the text and its NUL. DWORD (4): the leading signed decimal number, 4 bytes
// little-endian, taken modulo 2^32. Binary (3): hexadecimal digit pairs with one separator
// character after each pair; a lone digit at the end is ignored. Any other type: a list whose
// items are separated by "<\0>", ending with two NULs. Nothing when a binary text holds a
// character other than a hexadecimal digit where a digit belongs (the value is not written).
std::optional<std::vector<std::uint8_t>> registryValueData(std::int32_t type, const ByteString& text);

// The leading signed decimal number of text (0 without digits), modulo 2^32.
std::uint32_t leadingDecimal(const char* text);
