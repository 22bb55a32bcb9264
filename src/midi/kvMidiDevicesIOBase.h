#pragma once
// The common base of the MIDI input and output objects: the device list of one direction, the
// open handle of each device, and the result of the last platform call.
#include "base/TObject.h"
#include "midi/kvMidiApi.h"
#include "midi/kvMidiEventTypes.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kv {

class TMidiIOBase : public TObject {
public:
    // Error reports made on this thread while one lives go out when the outermost one ends.
    // Declared before an object's lock, it holds them until the lock is released, so the error
    // handler (which may take the component's lock) never runs under a device object's lock.
    class TDeferredErrors {
    public:
        TDeferredErrors();
        ~TDeferredErrors();
        TDeferredErrors(const TDeferredErrors&) = delete;
        TDeferredErrors& operator=(const TDeferredErrors&) = delete;

        struct TPendingError {
            TMidiIOBase* Object;
            std::string Text;
        };

    private:
        std::vector<TPendingError> FPending; // used by the outermost one
    };

    explicit TMidiIOBase(std::shared_ptr<IMidiApi> Api);
    std::string ClassName() const override { return "TMidiIOBase"; }

    virtual void Open(int DeviceIndex) = 0;
    virtual void Close(int DeviceIndex) = 0;

    // Device names (product names); the position of a name is the device index.
    const std::vector<std::string>& Devices() const { return FDevices; }
    int Count() const { return static_cast<int>(FDevices.size()); }
    std::uint32_t MidiResult() const { return FMidiResult; }

    // Raised with the platform's text of a failed call, and with "Device index out of bounds".
    void SetOnErrorMsg(TOnErrorMsg Value);
    // Connects the error event for Owner; DisconnectErrors leaves it to a later owner. A report in
    // progress on another thread is finished before DisconnectErrors returns.
    void ConnectErrors(const void* Owner, TOnErrorMsg Value);
    void DisconnectErrors(const void* Owner);

    // Stores Result; reports a failure through the error event with the platform's text.
    void CheckResult(std::uint32_t Result);
    // The handle of an open device, 0 when it is closed; an index outside the list is reported
    // and answers 0.
    TMidiHandle GetHandle(int DeviceIndex);
    bool ValidIndex(int DeviceIndex) const { return DeviceIndex >= 0 && DeviceIndex < Count(); }

protected:
    IMidiApi& Api() { return *FApi; }
    void AddDevice(const std::string& Name);
    void SetHandle(int DeviceIndex, TMidiHandle Handle) { FHandles[DeviceIndex] = Handle; }
    void ReportError(const std::string& Text);

private:
    void RaiseError(const std::string& Text);

    std::shared_ptr<IMidiApi> FApi;
    std::vector<std::string> FDevices;
    std::deque<std::atomic<TMidiHandle>> FHandles;
    std::atomic<std::uint32_t> FMidiResult{0};
    std::recursive_mutex FErrorLock; // held while the error event runs
    TOnErrorMsg FOnErrorMsg;
    const void* FErrorOwner = nullptr;
};

} // namespace kv
