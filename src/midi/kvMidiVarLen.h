#pragma once
// Variable-length quantities of MIDI files: the value in groups of 7 bits, most significant group
// first, every byte but the last with bit 7 set. Reading them lives in TMidiChunkReader.
#include <cstdint>
#include <string>

namespace kv {

// Appends Value, taken as unsigned 32-bit: 0 is one byte 0; values of 2^28 and more take 5 bytes.
void WriteVarLen(std::string& Out, std::uint32_t Value);

} // namespace kv
