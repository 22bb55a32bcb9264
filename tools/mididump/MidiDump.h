#pragma once
// A text dump of a song, one line per event with its track (counted from 1), absolute time and
// bytes as a file holds them, after a header line:
//   0, 0, Header, <format>, <number of tracks>, <division>
//   <track>, <time>, <bytes in hexadecimal, blank-separated>
#include "midi/kvMidiFile.h"

#include <string>

namespace kv::tools {

// The event's bytes in a file, without its delta time: status, then data, or for meta and
// system-exclusive events their length as a variable-length number and the data bytes.
std::string EventBytes(const TKVMidiEvent& Event);
// Appends the bytes as upper-case hexadecimal pairs separated by blanks.
void AppendHex(std::string& Text, const std::string& Bytes);
std::string DumpSong(const TKVMidiFile& Song);

} // namespace kv::tools
