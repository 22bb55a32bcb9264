#include "midi/kvMidiDevicesInput.h"

#include "midi/kvMidiDevicesInstances.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace kv {

namespace {

// How long Close waits for the driver to hand back the buffer that the reset returns.
constexpr auto BufferReturnTimeout = std::chrono::seconds(2);

} // namespace

std::recursive_mutex& TMidiInput::Gate()
{
    static std::recursive_mutex gate;
    return gate;
}

TMidiInput::TMidiInput(std::shared_ptr<IMidiApi> Api) : TMidiIOBase(std::move(Api))
{
    const unsigned count = this->Api().InGetNumDevs();
    for (unsigned id = 0; id < count; ++id) {
        TMidiInCaps caps;
        const TMMResult result = this->Api().InGetDevCaps(id, caps);
        CheckResult(result);
        if (result != MMSYSERR_NOERROR) continue;
        AddDevice(caps.ProductName);
        FDeviceIds.push_back(id);
        FSysExDataList.Add(std::make_unique<TSysExData>());
        FStates.push_back(TState::Closed);
    }
}

TMidiInput::~TMidiInput()
{
    for (int i = 0; i < Count(); ++i)
        if (GetHandle(i) != 0) TMidiInput::Close(i);
}

void TMidiInput::Open(int DeviceIndex)
{
    TDeferredErrors errors;
    std::lock_guard open(FOpenLock);
    if (GetHandle(DeviceIndex) != 0 || !ValidIndex(DeviceIndex)) return;
    TMidiHandle handle = 0;
    CheckResult(Api().InOpen(handle, FDeviceIds[DeviceIndex], MidiInCallback, static_cast<std::uintptr_t>(DeviceIndex)));
    if (handle == 0) return; // nothing to queue on a device that did not open
    SetHandle(DeviceIndex, handle);
    TMidiHeader& header = SysExData(DeviceIndex).SysExHeader;
    {
        std::lock_guard state(FStateLock);
        FStates[DeviceIndex] = TState::Open;
    }
    header.Flags = 0;
    header.BytesRecorded = 0;
    CheckResult(Api().InPrepareHeader(handle, header));
    CheckResult(Api().InAddBuffer(handle, header));
    CheckResult(Api().InStart(handle));
}

void TMidiInput::Close(int DeviceIndex)
{
    TDeferredErrors errors;
    std::lock_guard open(FOpenLock);
    const TMidiHandle handle = GetHandle(DeviceIndex);
    if (handle == 0) return;
    {
        // From here a returned buffer is not queued again.
        std::lock_guard state(FStateLock);
        FStates[DeviceIndex] = TState::Closing;
    }
    TMidiHeader& header = SysExData(DeviceIndex).SysExHeader;
    CheckResult(Api().InStop(handle));
    CheckResult(Api().InReset(handle));
    const auto deadline = std::chrono::steady_clock::now() + BufferReturnTimeout;
    while ((Api().HeaderFlags(header) & MHDR_INQUEUE) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    {
        // Let a dispatch still running on the driver's thread finish with the buffer.
        std::lock_guard drain(Gate());
    }
    CheckResult(Api().InUnprepareHeader(handle, header));
    CheckResult(Api().InClose(handle));
    SetHandle(DeviceIndex, 0);
    std::lock_guard state(FStateLock);
    FStates[DeviceIndex] = TState::Closed;
}

void TMidiInput::ResetInput(int DeviceIndex)
{
    TDeferredErrors errors;
    std::lock_guard open(FOpenLock);
    const TMidiHandle handle = GetHandle(DeviceIndex);
    if (handle == 0) return;
    CheckResult(Api().InStop(handle));
    CheckResult(Api().InReset(handle));
    CheckResult(Api().InStart(handle));
}

void TMidiInput::DoShort(int DeviceIndex, std::uintptr_t Param1, std::uintptr_t /*Param2: time stamp*/)
{
    std::lock_guard gate(Gate());
    if (FOnMidiShort)
        FOnMidiShort(DeviceIndex, static_cast<std::uint8_t>(Param1 & 0xFF), static_cast<std::uint8_t>((Param1 >> 8) & 0xFF),
                     static_cast<std::uint8_t>((Param1 >> 16) & 0xFF));
}

void TMidiInput::DoSysEx(int DeviceIndex)
{
    std::lock_guard gate(Gate());
    if (!ValidIndex(DeviceIndex)) return;
    TSysExData& data = SysExData(DeviceIndex);
    const std::uint32_t count = std::min(data.SysExHeader.BytesRecorded.load(), TSysExData::BufferSize);
    if (count == 0) return; // handed back by a reset or close: not queued again
    data.FSysExStream.WriteBuffer(data.SysExData.data(), count);
    if (data.SysExHeader.Flags & MHDR_DONE) {
        data.FSysExStream.SetPosition(0);
        try {
            if (FOnMidiSysEx) FOnMidiSysEx(DeviceIndex, data.FSysExStream);
        } catch (...) {
            data.FSysExStream.Clear();
            RequeueBuffer(DeviceIndex);
            throw;
        }
        data.FSysExStream.Clear();
    }
    RequeueBuffer(DeviceIndex);
}

void TMidiInput::RequeueBuffer(int DeviceIndex)
{
    TMidiHeader& header = SysExData(DeviceIndex).SysExHeader;
    TMMResult prepared = MMSYSERR_NOERROR, added = MMSYSERR_NOERROR;
    {
        // Checked and queued in one step, so a Close that has begun never finds it queued again.
        std::lock_guard state(FStateLock);
        if (FStates[DeviceIndex] != TState::Open) return;
        const TMidiHandle handle = GetHandle(DeviceIndex);
        header.BytesRecorded = 0;
        prepared = Api().InPrepareHeader(handle, header);
        added = Api().InAddBuffer(handle, header);
    }
    CheckResult(prepared);
    CheckResult(added);
}

void TMidiInput::SetOnMidiShort(TOnMidiShort Value)
{
    std::lock_guard gate(Gate());
    FOnMidiShort = std::move(Value);
    FInputOwner = nullptr;
}

void TMidiInput::SetOnMidiSysEx(TOnMidiSysEx Value)
{
    std::lock_guard gate(Gate());
    FOnMidiSysEx = std::move(Value);
    FInputOwner = nullptr;
}

void TMidiInput::ConnectInput(const void* Owner, TOnMidiShort Short, TOnMidiSysEx SysEx)
{
    std::lock_guard gate(Gate());
    FOnMidiShort = std::move(Short);
    FOnMidiSysEx = std::move(SysEx);
    FInputOwner = Owner;
}

void TMidiInput::DisconnectInput(const void* Owner)
{
    std::lock_guard gate(Gate());
    if (FInputOwner != Owner) return;
    FOnMidiShort = nullptr;
    FOnMidiSysEx = nullptr;
    FInputOwner = nullptr;
}

void MidiInCallback(TMidiHandle /*Handle*/, std::uint32_t Msg, std::uintptr_t Instance, std::uintptr_t Param1,
                    std::uintptr_t Param2)
{
    // Runs on the driver's thread: nothing may escape into it.
    try {
        std::lock_guard gate(TMidiInput::Gate());
        TMidiInput* input = MidiInputObject();
        if (!input) return;
        const int deviceIndex = static_cast<int>(Instance);
        if (Msg == MIM_DATA)
            input->DoShort(deviceIndex, Param1, Param2);
        else if (Msg == MIM_LONGDATA)
            input->DoSysEx(deviceIndex);
    } catch (...) {
    }
}

} // namespace kv
