#include "midi/kvMidiDevices.h"

#include "base/Format.h"
#include "midi/kvMidiApi.h"
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiDevicesInput.h"
#include "midi/kvMidiDevicesInstances.h"
#include "midi/kvMidiDevicesOutput.h"

#include <algorithm>
#include <mutex>

namespace kv {

namespace {

constexpr std::uint8_t ActiveSensing = 0xFE;
constexpr std::uint8_t NoteOff = 0x80;
constexpr std::uint8_t NoteOn = 0x90;

} // namespace

TKVMidiDevices::TKVMidiDevices(TComponent* AOwner) : TComponent(AOwner)
{
    for (auto& channel : FSentNotes) channel.fill(-1);
    CreateMidiDeviceObjects(MidiApi());
    FMidiInput = MidiInputObject();
    FMidiOutput = MidiOutputObject();
    FMidiInput->ConnectInput(
        this,
        [this](int DeviceIndex, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2) {
            MidiInShortHandler(DeviceIndex, Event, Data1, Data2);
        },
        [this](int DeviceIndex, TMemoryStream& ExStream) { MidiInSysExHandler(DeviceIndex, ExStream); });
    FMidiInput->ConnectErrors(this, [this](const std::string& Text) { DoErrorMsg(Text); });
    FMidiOutput->ConnectErrors(this, [this](const std::string& Text) { DoErrorMsg(Text); });
}

TKVMidiDevices::~TKVMidiDevices()
{
    // The objects may have been freed already at program end.
    if (MidiInputObject() == FMidiInput) {
        FMidiInput->DisconnectInput(this);
        FMidiInput->DisconnectErrors(this);
    }
    if (MidiOutputObject() == FMidiOutput) FMidiOutput->DisconnectErrors(this);
}

const std::vector<std::string>& TKVMidiDevices::MidiInputList() const
{
    return FMidiInput->Devices();
}

const std::vector<std::string>& TKVMidiDevices::MidiOutputList() const
{
    return FMidiOutput->Devices();
}

void TKVMidiDevices::SetOnMidiInShort(TOnMidiShort Value) { StoreUnderLock(FOnMidiInShort, std::move(Value)); }
void TKVMidiDevices::SetOnMidiInSysEx(TOnMidiSysEx Value) { StoreUnderLock(FOnMidiInSysEx, std::move(Value)); }
void TKVMidiDevices::SetOnMidiInText(TOnMidiText Value) { StoreUnderLock(FOnMidiInText, std::move(Value)); }
void TKVMidiDevices::SetOnMidiOutShort(TOnMidiShort Value) { StoreUnderLock(FOnMidiOutShort, std::move(Value)); }
void TKVMidiDevices::SetOnMidiOutSysEx(TOnMidiSysEx Value) { StoreUnderLock(FOnMidiOutSysEx, std::move(Value)); }
void TKVMidiDevices::SetOnMidiOutText(TOnMidiText Value) { StoreUnderLock(FOnMidiOutText, std::move(Value)); }
void TKVMidiDevices::SetOnErrorMsg(TOnErrorMsg Value) { StoreUnderLock(FOnErrorMsg, std::move(Value)); }

bool TKVMidiDevices::IsOpened(const TOpenedFlags& Flags, int DeviceIndex)
{
    return DeviceIndex >= 0 && DeviceIndex < MaxDevices && Flags[DeviceIndex];
}

bool TKVMidiDevices::SetOpened(TOpenedFlags& Flags, int DeviceIndex, bool Value)
{
    if (DeviceIndex < 0 || DeviceIndex >= MaxDevices) {
        DoErrorMsg(Format("%s: Device index out of bounds! (%d)", {ClassName(), DeviceIndex}));
        return false;
    }
    Flags[DeviceIndex] = Value;
    return true;
}

int TKVMidiDevices::ServedCount(const std::vector<std::string>& List) const
{
    return std::min(static_cast<int>(List.size()), MaxDevices);
}

void TKVMidiDevices::OpenMidiIn(int DeviceIndex)
{
    if (SetOpened(FInputOpened, DeviceIndex, true)) FMidiInput->Open(DeviceIndex);
}

void TKVMidiDevices::OpenMidiOut(int DeviceIndex)
{
    if (SetOpened(FOutputOpened, DeviceIndex, true)) FMidiOutput->Open(DeviceIndex);
}

void TKVMidiDevices::CloseMidiIn(int DeviceIndex)
{
    if (SetOpened(FInputOpened, DeviceIndex, false)) FMidiInput->Close(DeviceIndex);
}

void TKVMidiDevices::CloseMidiOut(int DeviceIndex)
{
    if (SetOpened(FOutputOpened, DeviceIndex, false)) FMidiOutput->Close(DeviceIndex);
}

void TKVMidiDevices::OpenMidiIn()
{
    for (int i = 0; i < ServedCount(MidiInputList()); ++i) OpenMidiIn(i);
}

void TKVMidiDevices::OpenMidiOut()
{
    for (int i = 0; i < ServedCount(MidiOutputList()); ++i) OpenMidiOut(i);
}

void TKVMidiDevices::CloseMidiIn()
{
    for (int i = 0; i < ServedCount(MidiInputList()); ++i) CloseMidiIn(i);
}

void TKVMidiDevices::CloseMidiOut()
{
    for (int i = 0; i < ServedCount(MidiOutputList()); ++i) CloseMidiOut(i);
}

void TKVMidiDevices::ResetMidiIn()
{
    for (int i = 0; i < FMidiInput->Count(); ++i) FMidiInput->ResetInput(i);
}

void TKVMidiDevices::ResetMidiOut()
{
    for (int i = 0; i < FMidiOutput->Count(); ++i) FMidiOutput->ResetOutput(i);
}

std::uint16_t TKVMidiDevices::MidiVolume()
{
    for (int i = ServedCount(MidiOutputList()) - 1; i >= 0; --i)
        if (IsOpened(FOutputOpened, i))
            if (const std::uint16_t volume = FMidiOutput->GetVolume(i); volume != 0) return volume;
    return 0xFFFF;
}

void TKVMidiDevices::SetMidiVolume(std::uint16_t Value)
{
    for (int i = ServedCount(MidiOutputList()) - 1; i >= 0; --i)
        if (IsOpened(FOutputOpened, i)) FMidiOutput->SetVolume(i, Value);
}

std::uint8_t TKVMidiDevices::OutgoingData1(std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2)
{
    const std::uint8_t kind = Event & 0xF0;
    if (kind != NoteOff && kind != NoteOn) return Data1;
    std::int16_t& sent = FSentNotes[Event & 0x0F][Data1];
    const auto transposed = static_cast<std::uint8_t>(Data1 + FMidiKey);
    if (kind == NoteOn && Data2 > 0) {
        sent = transposed;
        return transposed;
    }
    // A note-off releases the note that sounds, whatever the key is now.
    const std::uint8_t released = sent >= 0 ? static_cast<std::uint8_t>(sent) : transposed;
    sent = -1;
    return released;
}

void TKVMidiDevices::SendMidiShort(std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2)
{
    std::lock_guard lock(FCriticalSection);
    const std::uint8_t data1 = OutgoingData1(Event, Data1, Data2);
    for (int i = ServedCount(MidiOutputList()) - 1; i >= 0; --i)
        if (IsOpened(FOutputOpened, i)) DoMidiOutShort(i, Event, data1, Data2);
}

void TKVMidiDevices::SendMidiSysEx(TMemoryStream& ExStream)
{
    for (int i = ServedCount(MidiOutputList()) - 1; i >= 0; --i)
        if (IsOpened(FOutputOpened, i)) DoMidiOutSysEx(i, ExStream);
}

void TKVMidiDevices::SendMidiSysEx(int DeviceIndex, TMemoryStream& ExStream)
{
    if (IsOpened(FOutputOpened, DeviceIndex)) DoMidiOutSysEx(DeviceIndex, ExStream);
}

void TKVMidiDevices::SendMidiSysEx(const std::string& ExString)
{
    TMemoryStream stream;
    StrToStream(ExString, stream);
    SendMidiSysEx(stream);
}

void TKVMidiDevices::SendMidiSysEx(int DeviceIndex, const std::string& ExString)
{
    TMemoryStream stream;
    StrToStream(ExString, stream);
    SendMidiSysEx(DeviceIndex, stream);
}

void TKVMidiDevices::DoMidiOutShort(int DeviceIndex, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2)
{
    if (Event == ActiveSensing) return;
    std::lock_guard lock(FCriticalSection);
    if (!IsOpened(FOutputOpened, DeviceIndex)) return;
    FMidiOutput->PutShort(DeviceIndex, Event, Data1, Data2);
    if (FOnMidiOutShort) FOnMidiOutShort(DeviceIndex, Event, Data1, Data2);
    if (FOnMidiOutText) FOnMidiOutText(DeviceIndex, Format("Midi Out Short: %.2x %.2x %.2x", {Event, Data1, Data2}));
}

void TKVMidiDevices::DoMidiOutSysEx(int DeviceIndex, TMemoryStream& ExStream)
{
    std::lock_guard lock(FCriticalSection);
    if (!IsOpened(FOutputOpened, DeviceIndex)) return;
    FMidiOutput->PutLong(DeviceIndex, ExStream);
    if (FOnMidiOutSysEx) FOnMidiOutSysEx(DeviceIndex, ExStream);
    if (FOnMidiOutText) FOnMidiOutText(DeviceIndex, Format("Midi Out SysEx: %s", {StreamToHex(ExStream)}));
}

void TKVMidiDevices::MidiInShortHandler(int DeviceIndex, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2)
{
    if (Event == ActiveSensing) return;
    std::lock_guard lock(FCriticalSection);
    if (!IsOpened(FInputOpened, DeviceIndex)) return;
    if (FOnMidiInShort) FOnMidiInShort(DeviceIndex, Event, Data1, Data2);
    if (FOnMidiInText) FOnMidiInText(DeviceIndex, Format("Midi In Short: %.2x %.2x %.2x", {Event, Data1, Data2}));
}

void TKVMidiDevices::MidiInSysExHandler(int DeviceIndex, TMemoryStream& ExStream)
{
    std::lock_guard lock(FCriticalSection);
    if (!IsOpened(FInputOpened, DeviceIndex)) return;
    if (FOnMidiInSysEx) FOnMidiInSysEx(DeviceIndex, ExStream);
    if (FOnMidiInText) FOnMidiInText(DeviceIndex, "Midi In SysEx: " + StreamToHex(ExStream));
}

void TKVMidiDevices::DoErrorMsg(const std::string& Text)
{
    std::lock_guard lock(FCriticalSection);
    if (FOnErrorMsg) FOnErrorMsg(Text);
}

} // namespace kv
