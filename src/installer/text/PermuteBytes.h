#pragma once
// The reversible byte permutation of the packed file names: in every byte the order of the four
// 2-bit groups is reversed. Applying it twice gives back the original.
#include "installer/text/ByteString.h"

#include <cstdint>

std::uint8_t permuteByte(std::uint8_t b);
// Every byte of a NUL-terminated text, in place.
void permuteBytes(char* text);
void permuteBytes(ByteString& text);
