#include "midi/kvMidiDevicesOutput.h"

#include <thread>

namespace kv {

namespace {

constexpr std::uint32_t VolumeController = 7;

} // namespace

TMidiOutput::TMidiOutput(std::shared_ptr<IMidiApi> Api) : TMidiIOBase(std::move(Api))
{
    const unsigned count = this->Api().OutGetNumDevs();
    for (unsigned id = 0; id < count; ++id) {
        TMidiOutCaps caps;
        CheckResult(this->Api().OutGetDevCaps(id, caps));
        AddDevice(caps.ProductName);
    }
    FRetained.resize(count);
}

TMidiOutput::~TMidiOutput()
{
    // Retained buffers may only go once their device is closed.
    for (int i = 0; i < Count(); ++i)
        if (!FRetained[i].empty() && GetHandle(i) != 0) TMidiOutput::Close(i);
}

void TMidiOutput::Open(int DeviceIndex)
{
    TDeferredErrors errors;
    std::lock_guard lock(FLock);
    if (GetHandle(DeviceIndex) != 0 || !ValidIndex(DeviceIndex)) return;
    TMidiHandle handle = 0;
    CheckResult(Api().OutOpen(handle, static_cast<unsigned>(DeviceIndex)));
    SetHandle(DeviceIndex, handle);
}

void TMidiOutput::Close(int DeviceIndex)
{
    TDeferredErrors errors;
    std::lock_guard lock(FLock);
    const TMidiHandle handle = GetHandle(DeviceIndex);
    if (handle == 0) return;
    CheckResult(Api().OutReset(handle));
    const TMMResult closed = Api().OutClose(handle);
    CheckResult(closed);
    SetHandle(DeviceIndex, 0);
    if (closed == MMSYSERR_NOERROR) FRetained[DeviceIndex].clear();
}

void TMidiOutput::ResetOutput(int DeviceIndex)
{
    TDeferredErrors errors;
    std::lock_guard lock(FLock);
    const TMidiHandle handle = GetHandle(DeviceIndex);
    if (handle != 0) CheckResult(Api().OutReset(handle));
}

void TMidiOutput::PutShort(int DeviceIndex, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2)
{
    TDeferredErrors errors;
    std::lock_guard lock(FLock);
    const TMidiHandle handle = GetHandle(DeviceIndex);
    if (handle == 0) return;
    CheckResult(Api().OutShortMsg(handle, Event + Data1 * 0x100u + Data2 * 0x10000u));
}

std::chrono::milliseconds TMidiOutput::LongMessageTimeout(std::size_t Size)
{
    // MIDI carries about 3 bytes per millisecond.
    return std::chrono::milliseconds(1000 + Size / 2);
}

bool TMidiOutput::WaitLongDone(const TMidiHeader& Header, std::chrono::milliseconds Timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + Timeout;
    while (!(Api().HeaderFlags(Header) & MHDR_DONE)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

void TMidiOutput::PutLong(int DeviceIndex, TMemoryStream& Stream)
{
    TDeferredErrors errors;
    std::lock_guard lock(FLock);
    const TMidiHandle handle = GetHandle(DeviceIndex);
    if (handle == 0) return;
    Stream.SetPosition(0);
    // The driver reads from a buffer of our own, which lives until the driver hands it back.
    auto message = std::make_unique<TLongMessage>();
    message->Data.assign(Stream.Memory(), Stream.Memory() + Stream.Size());
    TMidiHeader& header = message->Header;
    header.Data = message->Data.data();
    header.BufferLength = static_cast<std::uint32_t>(message->Data.size());
    const TMMResult prepared = Api().OutPrepareHeader(handle, header);
    CheckResult(prepared);
    if (prepared != MMSYSERR_NOERROR) return;
    const TMMResult sent = Api().OutLongMsg(handle, header);
    CheckResult(sent);
    if (sent == MMSYSERR_NOERROR && !WaitLongDone(header, LongMessageTimeout(message->Data.size()))) {
        CheckResult(Api().OutReset(handle));
        WaitLongDone(header, std::chrono::milliseconds(1000));
    }
    const TMMResult unprepared = Api().OutUnprepareHeader(handle, header);
    CheckResult(unprepared);
    if (unprepared == MIDIERR_STILLPLAYING) FRetained[DeviceIndex].push_back(std::move(message));
}

bool TMidiOutput::HasVolumeControl(int DeviceIndex)
{
    TMidiOutCaps caps;
    const TMMResult result = Api().OutGetDevCaps(static_cast<unsigned>(DeviceIndex), caps);
    CheckResult(result);
    return result == MMSYSERR_NOERROR && (caps.Support & MIDICAPS_VOLUME);
}

std::uint16_t TMidiOutput::GetVolume(int DeviceIndex)
{
    TDeferredErrors errors;
    std::lock_guard lock(FLock);
    if (HasVolumeControl(DeviceIndex)) {
        FVolume.LongVolume = 0;
        std::uint32_t volume = 0;
        CheckResult(Api().OutGetVolume(GetHandle(DeviceIndex), volume));
        FVolume.LongVolume = static_cast<std::int32_t>(volume);
    }
    return 0xFFFF;
}

void TMidiOutput::SetVolume(int DeviceIndex, std::uint16_t Volume)
{
    TDeferredErrors errors;
    std::lock_guard lock(FLock);
    if (HasVolumeControl(DeviceIndex)) {
        FVolume.SetLeftVolume(Volume);
        FVolume.SetRightVolume(Volume);
        const TMMResult set = Api().OutSetVolume(GetHandle(DeviceIndex), static_cast<std::uint32_t>(FVolume.LongVolume));
        CheckResult(set);
        if (set == MMSYSERR_NOERROR) return;
    }
    SendChannelVolume(DeviceIndex, Volume);
}

TVolumeRec TMidiOutput::Volume()
{
    std::lock_guard lock(FLock);
    return FVolume;
}

void TMidiOutput::SendChannelVolume(int DeviceIndex, std::uint16_t Volume)
{
    for (std::uint8_t channel = 0; channel < 16; ++channel)
        PutShort(DeviceIndex, static_cast<std::uint8_t>(0xB0 + channel), VolumeController,
                 static_cast<std::uint8_t>(Volume >> 9));
}

} // namespace kv
