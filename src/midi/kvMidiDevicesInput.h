#pragma once
// All MIDI inputs of the process: lists them, opens and closes them, and turns the driver's
// callbacks into short-message and system-exclusive events, on the driver's thread.
#include "base/TObjectList.h"
#include "midi/kvMidiDevicesIOBase.h"
#include "midi/kvMidiDevicesSysExData.h"

#include <mutex>

namespace kv {

class TMidiInput : public TMidiIOBase {
public:
    explicit TMidiInput(std::shared_ptr<IMidiApi> Api);
    // Devices still open are closed first, so no driver keeps a buffer that is freed here.
    ~TMidiInput() override;
    std::string ClassName() const override { return "TMidiInput"; }

    void Open(int DeviceIndex) override;
    void Close(int DeviceIndex) override;
    // Stop, reset, start. The buffer the reset returns is not queued again: the device receives
    // no system-exclusive message until it is closed and opened again.
    void ResetInput(int DeviceIndex);

    // The driver's messages; both run under Gate().
    void DoShort(int DeviceIndex, std::uintptr_t Param1, std::uintptr_t Param2);
    void DoSysEx(int DeviceIndex);

    void SetOnMidiShort(TOnMidiShort Value);
    void SetOnMidiSysEx(TOnMidiSysEx Value);
    // Connects both input events for Owner; DisconnectInput leaves them when another owner has
    // connected since. A dispatch in progress is finished before DisconnectInput returns.
    void ConnectInput(const void* Owner, TOnMidiShort Short, TOnMidiSysEx SysEx);
    void DisconnectInput(const void* Owner);

    TSysExData& SysExData(int DeviceIndex) { return *FSysExDataList.Items(DeviceIndex); }

    // Held by every dispatch of a driver callback and by every change of the input events and of
    // the process-wide input object, so a callback never reaches a freed object.
    static std::recursive_mutex& Gate();

private:
    enum class TState { Closed, Open, Closing };

    void RequeueBuffer(int DeviceIndex);

    std::vector<unsigned> FDeviceIds; // platform identifier of each listed device
    TObjectList<TSysExData> FSysExDataList;
    std::deque<TState> FStates;        // under FStateLock
    std::mutex FStateLock;
    std::recursive_mutex FOpenLock;    // one Open or Close at a time
    TOnMidiShort FOnMidiShort;         // under Gate()
    TOnMidiSysEx FOnMidiSysEx;
    TOnMidiText FOnMidiText;           // never raised
    const void* FInputOwner = nullptr;
};

// The callback given to the platform: the instance value is the device index.
void MidiInCallback(TMidiHandle Handle, std::uint32_t Msg, std::uintptr_t Instance, std::uintptr_t Param1,
                    std::uintptr_t Param2);

} // namespace kv
