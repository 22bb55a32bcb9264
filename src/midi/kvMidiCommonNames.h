#pragma once
// The name tables of the MIDI vocabulary: message names, the General MIDI program families and
// percussion keys, and the note names. The texts are shown to the user exactly as they stand.
#include "midi/kvMidiCommon.h"

#include <array>
#include <string>

namespace kv {

// Message name and status value.
extern const std::array<KVInstrument, 20> MidiMessageNames;
// Sixteen families of eight programs; entry j of family f is program 8 x f + j.
extern const std::array<KVFamily, 16> GMFamilies;
// Entry i names percussion key 35 + i.
extern const std::array<KVInstrument, 47> GMDrums;
extern const std::array<std::string, 12> NoteNames;
extern const std::array<std::string, 12> NumberedNoteNames;

} // namespace kv
