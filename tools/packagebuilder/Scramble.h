#pragma once
// The package's reversible scrambling, written for the builder from the format alone: byte i
// moves up by (start + step * (i + 1)) mod 256, then the key bytes step and start follow, then
// eight check bytes, check[j mod 8] = sum of byte j over everything before them (mod 256).
// Tables stored "scrambled twice" go through it twice.
#include "PackageBuilder.h"

#include <cstdint>

// step should lie in 5..34, as the installer's own scrambling chooses it; any byte works.
Bytes scramble(const Bytes& plain, std::uint8_t step, std::uint8_t start);
// Scrambled twice with two fixed keys, so that packages are reproducible.
Bytes scrambleTwice(const Bytes& plain);
