#pragma once
// The event types the on-screen piano raises. OnMidiEvent reuses the engine's TOnMidiEvent.
#include <cstdint>
#include <functional>
#include <string>

namespace kv {

using TOnKeyboard = std::function<void(std::uint8_t Event, std::uint8_t data1, std::uint8_t data2)>;
using TOnOctaveChanged = std::function<void(std::uint8_t Value)>;
using TOnGroupChaned = std::function<void(std::uint8_t Value)>;
using TOnDebug = std::function<void(const std::string& DebugInfo)>;

} // namespace kv
