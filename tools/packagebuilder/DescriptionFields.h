#pragma once
// Pieces every writer of the package description uses: big-endian words and 32-bit numbers read
// from the description's JSON.
#include "PackageBuilder.h"

void appendBigEndian(Bytes& out, std::uint32_t value);
// A signed or unsigned 32-bit number or a boolean, stored as one 32-bit word; fallback when the
// member is missing. Anything else is refused naming the member, after subject (e.g. "template
// field ").
std::uint32_t descriptionWord(const nlohmann::json& object, const char* name, std::int64_t fallback = 0,
                              const char* subject = "");
