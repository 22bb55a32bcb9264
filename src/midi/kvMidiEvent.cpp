#include "midi/kvMidiEvent.h"

#include "base/Exceptions.h"
#include "midi/kvMidiTicks.h"

namespace kv {

TKVEventType TKVMidiEvent::EventType() const
{
    if (FEvent == 0xFF) return etSystem;
    switch (FEvent & 0xF0) {
    case 0xB0: return etControl;
    case 0xC0: return etProgram;
    case 0x90: return FData2 != 0 ? etOn : etOff;
    case 0x80: return etOff;
    default: return etOther;
    }
}

void TKVMidiEvent::SetTrack(std::uint8_t Value) { FTrack = Value; }
void TKVMidiEvent::SetEvent(std::uint8_t Value) { FEvent = Value; }
void TKVMidiEvent::SetData2(std::uint8_t Value) { FData2 = Value; }
void TKVMidiEvent::SetDeltaTime(std::int32_t Value) { FDeltaTime = Value; }
void TKVMidiEvent::SetTimeLength(std::int32_t Value) { FTimeLength = Value; }
void TKVMidiEvent::SetLetter(const std::string& Value) { FLetter = Value; }

void TKVMidiEvent::SetData1(std::uint8_t Value)
{
    if (FData1 == Value) return;
    FData1 = Value;
    if (IsNoteOnWithOff()) FRelatedEvent->FData1 = Value;
}

void TKVMidiEvent::SetStartTime(std::int32_t Value)
{
    if (FStartTime == Value) return;
    const std::int32_t oldStart = FStartTime;
    FStartTime = Value;
    if (!IsNoteOnWithOff()) return;
    // The note-off's field is written directly, so nothing further moves.
    FTimeLength = SubTicks(FRelatedEvent->FStartTime, oldStart);
    FRelatedEvent->FStartTime = AddTicks(Value, FTimeLength);
}

void TKVMidiEvent::SetRelatedEvent(TKVMidiEvent* Value)
{
    KV_ASSERT(Value != this, "Related event is self.");
    FRelatedEvent = Value;
}

void TKVMidiEvent::AssignTo(TPersistent& Dest) const
{
    auto* event = dynamic_cast<TKVMidiEvent*>(&Dest);
    if (event == nullptr) {
        TPersistent::AssignTo(Dest);
        return;
    }
    event->FTrack = FTrack;
    event->FEvent = FEvent;
    event->FData1 = FData1;
    event->FData2 = FData2;
    event->FLetter = FLetter;
    event->FDeltaTime = FDeltaTime;
    event->FStartTime = FStartTime;
    event->FTimeLength = FTimeLength;
    event->FRelatedEvent = FRelatedEvent;
}

} // namespace kv
