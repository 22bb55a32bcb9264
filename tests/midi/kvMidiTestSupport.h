#pragma once
// Small builders shared by the MIDI tests.
#include "midi/kvMidiEvent.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

namespace kv::test {

// Meta data from byte values.
inline std::string Bytes(std::initializer_list<int> values)
{
    std::string data;
    for (int v : values) data += static_cast<char>(static_cast<std::uint8_t>(v));
    return data;
}

inline std::unique_ptr<TKVMidiEvent> MakeEvent(int status, int data1, int data2, std::int32_t startTime,
                                               std::int32_t deltaTime = 0)
{
    auto event = std::make_unique<TKVMidiEvent>();
    event->SetEvent(static_cast<std::uint8_t>(status));
    event->SetData1(static_cast<std::uint8_t>(data1));
    event->SetData2(static_cast<std::uint8_t>(data2));
    event->SetStartTime(startTime);
    event->SetDeltaTime(deltaTime);
    return event;
}

inline std::unique_ptr<TKVMidiEvent> NoteOn(int note, std::int32_t startTime) { return MakeEvent(0x90, note, 100, startTime); }
inline std::unique_ptr<TKVMidiEvent> NoteOff(int note, std::int32_t startTime) { return MakeEvent(0x80, note, 0, startTime); }

} // namespace kv::test
