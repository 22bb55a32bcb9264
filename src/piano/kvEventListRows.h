#pragma once
// What the event list shows of an event: the texts of its nine columns, its description and the
// colour of its row.
#include "gui/TColor.h"
#include "midi/kvMidiEvent.h"

#include <array>
#include <cstdint>
#include <string>

namespace kv {

// Position (quarter notes, two decimals), Time, DeltaTime, Track (from 1), Channel (from 1, "-"
// for meta events), Event, Data1, Data2 ("0x" and two upper-case hexadecimal digits) and the
// description. A song without a resolution shows "-" as the position. The descriptions are
// run-time texts (ResStr): they follow the program's translation.
std::array<std::string, 9> EventRowTexts(const TKVMidiEvent& Event, std::int32_t PulsesPerQuarter);
std::string EventDescription(const TKVMidiEvent& Event);
TColor EventRowColor(const TKVMidiEvent& Event);

} // namespace kv
