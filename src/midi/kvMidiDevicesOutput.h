#pragma once
// All MIDI outputs of the process: lists them, opens and closes them, sends short and long
// messages and sets device volumes.
#include "base/TMemoryStream.h"
#include "midi/kvMidiDevicesIOBase.h"

#include <chrono>
#include <memory>
#include <mutex>

namespace kv {

// A device volume: left in the low half, right in the high half.
struct TVolumeRec {
    std::int32_t LongVolume = 0;

    std::uint16_t LeftVolume() const { return static_cast<std::uint16_t>(LongVolume & 0xFFFF); }
    std::uint16_t RightVolume() const { return static_cast<std::uint16_t>((LongVolume >> 16) & 0xFFFF); }
    void SetLeftVolume(std::uint16_t Value) { LongVolume = static_cast<std::int32_t>((LongVolume & 0xFFFF0000u) | Value); }
    void SetRightVolume(std::uint16_t Value)
    {
        LongVolume = static_cast<std::int32_t>((LongVolume & 0xFFFFu) | (static_cast<std::uint32_t>(Value) << 16));
    }
};

class TMidiOutput : public TMidiIOBase {
public:
    explicit TMidiOutput(std::shared_ptr<IMidiApi> Api);
    ~TMidiOutput() override;
    std::string ClassName() const override { return "TMidiOutput"; }

    void Open(int DeviceIndex) override;
    // Resets the device (all sounding notes off) and closes it.
    void Close(int DeviceIndex) override;
    void ResetOutput(int DeviceIndex);

    // Sent as Event + Data1 x 256 + Data2 x 65536; nothing when the device is closed.
    void PutShort(int DeviceIndex, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2);
    // Sends the whole stream as one long message and returns when the driver is done with it.
    // A driver that has not finished within the time the message needs on the wire (plus a
    // margin) is reset, so it hands the buffer back; a buffer it still holds after that is kept
    // until the device is closed. The stream stays the caller's.
    void PutLong(int DeviceIndex, TMemoryStream& Stream);

    // Reads the device volume into Volume() when the device has a volume control; answers 65535.
    std::uint16_t GetVolume(int DeviceIndex);
    // The device volume on both sides; a device without volume control, or whose volume cannot
    // be set, gets controller 7 (main volume) on channels 0 to 15 instead.
    void SetVolume(int DeviceIndex, std::uint16_t Volume);
    TVolumeRec Volume();

    // The wait for a long message: a margin plus two bytes per millisecond.
    static std::chrono::milliseconds LongMessageTimeout(std::size_t Size);

private:
    struct TLongMessage {
        TMidiHeader Header;
        std::vector<std::uint8_t> Data;
    };

    bool WaitLongDone(const TMidiHeader& Header, std::chrono::milliseconds Timeout);
    void SendChannelVolume(int DeviceIndex, std::uint16_t Volume);
    // Reads the device's capabilities (reporting a failure) and tells whether it sets its own volume.
    bool HasVolumeControl(int DeviceIndex);

    std::recursive_mutex FLock; // around every use of a handle: no message goes to a closed device
    TVolumeRec FVolume{};
    // Long messages a driver kept after its reset, per device; freed after the device is closed.
    std::vector<std::vector<std::unique_ptr<TLongMessage>>> FRetained;
};

} // namespace kv
