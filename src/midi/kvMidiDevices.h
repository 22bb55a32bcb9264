#pragma once
// The component through which the program uses MIDI devices: it remembers which inputs and
// outputs are opened, sends short and system-exclusive messages to every opened output (note
// numbers shifted by MidiKey), sets the output volume, and hands every message received on an
// opened input to the program's handlers with a trace line. One lock serialises every input and
// output dispatch; an input handler that sends to the outputs takes it again on its own thread.
#include "base/TComponent.h"
#include "base/TCriticalSection.h"
#include "base/TMemoryStream.h"
#include "midi/kvMidiEventTypes.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace kv {

class TMidiInput;
class TMidiOutput;

class TKVMidiDevices : public TComponent {
public:
    // The component serves at most this many devices per direction.
    static constexpr int MaxDevices = 64;

    // Makes the process-wide device objects when they do not exist yet (over MidiApi()) and
    // takes their input events: the component made last receives all input.
    explicit TKVMidiDevices(TComponent* AOwner);
    // Leaves the devices as they are; a driver callback after this reaches no handler of ours.
    ~TKVMidiDevices() override;
    std::string ClassName() const override { return "TKVMidiDevices"; }

    // Transposition of sent note messages, two's complement for downward keys (-12 is 244).
    std::uint8_t MidiKey() const { return FMidiKey; }
    void SetMidiKey(std::uint8_t Value) { FMidiKey = Value; }
    // Reading answers the first non-zero volume of the opened outputs, highest index first
    // (65535); writing sets every opened output, highest index first.
    std::uint16_t MidiVolume();
    void SetMidiVolume(std::uint16_t Value);
    const std::vector<std::string>& MidiInputList() const;
    const std::vector<std::string>& MidiOutputList() const;
    TMidiInput* MidiInput() const { return FMidiInput; }
    TMidiOutput* MidiOutput() const { return FMidiOutput; }

    void SetOnMidiInShort(TOnMidiShort Value);
    void SetOnMidiInSysEx(TOnMidiSysEx Value);
    void SetOnMidiInText(TOnMidiText Value);
    void SetOnMidiOutShort(TOnMidiShort Value);
    void SetOnMidiOutSysEx(TOnMidiSysEx Value);
    void SetOnMidiOutText(TOnMidiText Value);
    // Raised with the device objects' error texts and with indexes the component cannot serve.
    void SetOnErrorMsg(TOnErrorMsg Value);

    // The flag is set (cleared) even when the device does not open (close).
    void OpenMidiIn(int DeviceIndex);
    void OpenMidiOut(int DeviceIndex);
    void CloseMidiIn(int DeviceIndex);
    void CloseMidiOut(int DeviceIndex);
    // Every listed device, in rising order.
    void OpenMidiIn();
    void OpenMidiOut();
    void CloseMidiIn();
    void CloseMidiOut();
    void ResetMidiIn();
    void ResetMidiOut();

    // To every opened output, highest index first. A note-off goes out with the note number its
    // note-on was sent with, even when MidiKey changed in between.
    void SendMidiShort(std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2);
    void SendMidiSysEx(TMemoryStream& ExStream);
    void SendMidiSysEx(int DeviceIndex, TMemoryStream& ExStream);
    // The low 8 bits of each character, as one message.
    void SendMidiSysEx(const std::string& ExString);
    void SendMidiSysEx(int DeviceIndex, const std::string& ExString);

private:
    using TOpenedFlags = std::array<std::atomic<bool>, MaxDevices>;

    static bool IsOpened(const TOpenedFlags& Flags, int DeviceIndex);
    bool SetOpened(TOpenedFlags& Flags, int DeviceIndex, bool Value);
    int ServedCount(const std::vector<std::string>& List) const;
    std::uint8_t OutgoingData1(std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2);

    void DoMidiOutShort(int DeviceIndex, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2);
    void DoMidiOutSysEx(int DeviceIndex, TMemoryStream& ExStream);
    void MidiInShortHandler(int DeviceIndex, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2);
    void MidiInSysExHandler(int DeviceIndex, TMemoryStream& ExStream);
    void DoErrorMsg(const std::string& Text);
    // Handlers change under the lock, so a dispatch in progress never sees one half-assigned.
    template <typename Handler>
    void StoreUnderLock(Handler& Field, Handler Value)
    {
        std::lock_guard lock(FCriticalSection);
        Field = std::move(Value);
    }

    TCriticalSection FCriticalSection;
    TOnMidiShort FOnMidiInShort;
    TOnMidiSysEx FOnMidiInSysEx;
    TOnMidiText FOnMidiInText;
    TOnMidiShort FOnMidiOutShort;
    TOnMidiSysEx FOnMidiOutSysEx;
    TOnMidiText FOnMidiOutText;
    TOnErrorMsg FOnErrorMsg;
    std::atomic<std::uint8_t> FMidiKey{0};
    TMidiInput* FMidiInput = nullptr;
    TMidiOutput* FMidiOutput = nullptr;
    TOpenedFlags FInputOpened{};
    TOpenedFlags FOutputOpened{};
    // The note number each sounding note went out with, per channel and played note; -1 when
    // the note is not sounding. Under FCriticalSection.
    std::array<std::array<std::int16_t, 256>, 16> FSentNotes;
};

} // namespace kv
