#pragma once
// The event types of the MIDI engine, declared once: the devices, the song, the player, the
// on-screen piano and the piano roll all raise these. A component calls one only when it is set.
// Objects passed by reference or pointer are lent for the call; the handler never frees them.
#include "base/TMemoryStream.h"
#include "base/TObject.h"
#include "midi/kvMidiCommon.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kv {

class TKVMidiEvent;

using TOnMidiShort = std::function<void(int DeviceIndex, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2)>;
using TOnMidiSysEx = std::function<void(int DeviceIndex, TMemoryStream& ExStream)>;
using TOnMidiText = std::function<void(int DeviceIndex, const std::string& Text)>;
using TOnErrorMsg = std::function<void(const std::string& Text)>;

using TModified = std::function<void(bool Modified)>;

using TOnMidiEvent = std::function<void(TKVMidiEvent* mEvent)>;
using TOnReadyEvent = std::function<void(int Track)>;
using TOnUpdateEvent = std::function<void(TObject* Sender, std::uint32_t iTime)>; // iTime in milliseconds
using TOnSpeedChange = std::function<void(int Value)>;                          // beats per minute
using TOnVolumeChange = std::function<void(int Index, int Value)>;              // channel, controller-7 value
using TOnMeterChange = std::function<void(const std::string& Value)>;
using TOnKeySignatureChange = std::function<void(const std::string& Value)>;
using TOnStatusChange = std::function<void(TKVStatus Status)>;

} // namespace kv
