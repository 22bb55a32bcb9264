#include "midi/kvMidiDevicesIOBase.h"

#include "base/Format.h"

namespace kv {

TMidiIOBase::TMidiIOBase(std::shared_ptr<IMidiApi> Api) : FApi(std::move(Api)) {}

void TMidiIOBase::SetOnErrorMsg(TOnErrorMsg Value)
{
    ConnectErrors(nullptr, std::move(Value));
}

void TMidiIOBase::ConnectErrors(const void* Owner, TOnErrorMsg Value)
{
    std::lock_guard lock(FErrorLock);
    FOnErrorMsg = std::move(Value);
    FErrorOwner = Owner;
}

void TMidiIOBase::DisconnectErrors(const void* Owner)
{
    std::lock_guard lock(FErrorLock);
    if (FErrorOwner != Owner) return;
    FOnErrorMsg = nullptr;
    FErrorOwner = nullptr;
}

namespace {

// Only trivial thread-locals: the pending list lives in the outermost TDeferredErrors (thread-local
// objects with destructors are not reliably destroyed at thread exit by every Windows runtime).
thread_local std::vector<TMidiIOBase::TDeferredErrors::TPendingError>* PendingErrors = nullptr;

} // namespace

TMidiIOBase::TDeferredErrors::TDeferredErrors()
{
    if (!PendingErrors) PendingErrors = &FPending;
}

TMidiIOBase::TDeferredErrors::~TDeferredErrors()
{
    if (PendingErrors != &FPending) return;
    PendingErrors = nullptr;
    for (TPendingError& error : FPending) {
        try {
            error.Object->RaiseError(error.Text);
        } catch (...) {
            // A handler that throws here has no caller left to reach.
        }
    }
}

void TMidiIOBase::ReportError(const std::string& Text)
{
    if (PendingErrors)
        PendingErrors->push_back({this, Text});
    else
        RaiseError(Text);
}

void TMidiIOBase::RaiseError(const std::string& Text)
{
    std::lock_guard lock(FErrorLock);
    if (FOnErrorMsg) FOnErrorMsg(Text);
}

void TMidiIOBase::CheckResult(std::uint32_t Result)
{
    FMidiResult = Result;
    if (Result == MMSYSERR_NOERROR) return;
    std::string text;
    if (Api().InGetErrorText(Result, text) == MMSYSERR_NOERROR) ReportError(text);
}

TMidiHandle TMidiIOBase::GetHandle(int DeviceIndex)
{
    if (!ValidIndex(DeviceIndex)) {
        ReportError(Format("%s: Device index out of bounds! (%d)", {ClassName(), DeviceIndex}));
        return 0;
    }
    return FHandles[DeviceIndex];
}

void TMidiIOBase::AddDevice(const std::string& Name)
{
    FDevices.push_back(Name);
    FHandles.emplace_back(0);
}

} // namespace kv
