#include "midi/kvMidiFakeApi.h"

#include "base/Conversions.h"
#include "base/Format.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace kv {

namespace {

std::string Trim(const std::string& Text)
{
    const auto first = Text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = Text.find_last_not_of(" \t\r");
    return Text.substr(first, last - first + 1);
}

std::vector<std::string> Split(const std::string& Text, const std::string& Separators)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : Text) {
        if (Separators.find(c) != std::string::npos) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

TFakeMidiDevice DeviceFromSpec(const std::string& Value)
{
    const auto fields = Split(Value, ",");
    TFakeMidiDevice device;
    device.Name = Trim(fields[0]);
    for (std::size_t i = 1; i < fields.size(); ++i) {
        const std::string flag = Trim(fields[i]);
        if (flag == "nocaps") device.CapsFail = true;
        if (flag == "novolume") device.HasVolume = false;
    }
    return device;
}

} // namespace

TFakeMidiApi::TFakeMidiApi() : FWorker([this] { WorkerLoop(); }) {}

TFakeMidiApi::~TFakeMidiApi()
{
    {
        std::lock_guard lock(FLock);
        FStopping = true;
    }
    FWake.notify_all();
    FFeedWake.notify_all();
    if (FFeedThread.joinable()) FFeedThread.join();
    FWorker.join();
}

std::shared_ptr<TFakeMidiApi> TFakeMidiApi::FromSpec(const std::string& Spec)
{
    std::string text = Spec;
    if (std::ifstream file{Spec}; file) {
        std::ostringstream content;
        content << file.rdbuf();
        text = content.str();
    }
    auto fake = std::make_shared<TFakeMidiApi>();
    for (const std::string& rawItem : Split(text, ";\n")) {
        const std::string item = Trim(rawItem.substr(0, rawItem.find('#')));
        const auto equals = item.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = Trim(item.substr(0, equals));
        const std::string value = Trim(item.substr(equals + 1));
        if (key == "in") {
            fake->AddInput(DeviceFromSpec(value));
        } else if (key == "out") {
            fake->AddOutput(DeviceFromSpec(value));
        } else if (key == "fail") {
            const auto colon = value.find(':');
            if (colon != std::string::npos)
                fake->FailCall(Trim(value.substr(0, colon)),
                               static_cast<TMMResult>(StrToIntDef(value.substr(colon + 1), MMSYSERR_ERROR)));
        } else if (key == "longdelay") {
            fake->SetLongDelay(std::chrono::milliseconds(StrToIntDef(value, 5)));
        } else if (key == "log") {
            fake->SetLogFile(value);
        } else if (key == "feed") {
            fake->SetFeedFile(value);
        }
    }
    return fake;
}

void TFakeMidiApi::AddInput(TFakeMidiDevice Device)
{
    std::lock_guard lock(FLock);
    FInputs.push_back(std::move(Device));
}

void TFakeMidiApi::AddOutput(TFakeMidiDevice Device)
{
    std::lock_guard lock(FLock);
    FOutputs.push_back(std::move(Device));
}

void TFakeMidiApi::FailCall(const std::string& Call, TMMResult Code, int Times)
{
    std::lock_guard lock(FLock);
    FFailures[Call] = {Code, Times};
}

void TFakeMidiApi::SetLongDelay(std::chrono::milliseconds Delay)
{
    std::lock_guard lock(FLock);
    FLongDelay = Delay;
}

void TFakeMidiApi::SetLogEnabled(bool Enabled)
{
    std::lock_guard lock(FLock);
    FLogEnabled = Enabled;
}

void TFakeMidiApi::SetLogFile(const std::string& FileName)
{
    std::lock_guard lock(FLock);
    FLogFile.open(FileName, std::ios::app);
}

void TFakeMidiApi::SetFeedFile(const std::string& FileName)
{
    std::lock_guard lock(FLock);
    if (FFeedThread.joinable() || FStopping) return; // one feed per fake
    FFeedThread = std::thread([this, FileName] { FeedLoop(FileName); });
}

bool TFakeMidiApi::ParseFeedLine(const std::string& Line, unsigned& DeviceId, std::vector<std::uint8_t>& Bytes)
{
    std::istringstream in(Line);
    std::string word;
    if (!(in >> word) || word[0] == '#') return false;
    const int device = StrToIntDef(word, -1);
    if (device < 0) return false;
    Bytes.clear();
    while (in >> word) {
        const int value = StrToIntDef("$" + word, -1);
        if (value < 0 || value > 0xFF || word.size() > 2) return false;
        Bytes.push_back(static_cast<std::uint8_t>(value));
    }
    if (Bytes.empty()) return false;
    DeviceId = static_cast<unsigned>(device);
    return true;
}

void TFakeMidiApi::FeedLoop(std::string FileName)
{
    std::streamoff offset = 0;
    std::string partial;
    std::unique_lock lock(FLock);
    while (!FStopping) {
        lock.unlock();
        ReadFeed(FileName, offset, partial);
        lock.lock();
        FFeedWake.wait_for(lock, std::chrono::milliseconds(10), [this] { return FStopping; });
    }
}

void TFakeMidiApi::ReadFeed(const std::string& FileName, std::streamoff& Offset, std::string& Partial)
{
    std::ifstream file(FileName, std::ios::binary);
    if (!file) return;
    file.seekg(Offset);
    std::ostringstream added;
    added << file.rdbuf();
    const std::string text = added.str();
    Offset += static_cast<std::streamoff>(text.size());
    Partial += text;
    for (auto end = Partial.find('\n'); end != std::string::npos; end = Partial.find('\n')) {
        const std::string line = Partial.substr(0, end);
        Partial.erase(0, end + 1);
        unsigned device = 0;
        std::vector<std::uint8_t> bytes;
        if (!ParseFeedLine(line, device, bytes)) continue;
        if (bytes[0] == 0xF0) {
            InjectSysEx(device, std::move(bytes));
        } else {
            bytes.resize(3, 0);
            InjectShort(device, bytes[0] | (bytes[1] << 8) | (bytes[2] << 16));
        }
    }
}

std::vector<std::string> TFakeMidiApi::Log() const
{
    std::lock_guard lock(FLock);
    return FLog;
}

void TFakeMidiApi::ClearLog()
{
    std::lock_guard lock(FLock);
    FLog.clear();
}

int TFakeMidiApi::CountCalls(const std::string& Prefix) const
{
    std::lock_guard lock(FLock);
    return static_cast<int>(std::count_if(FLog.begin(), FLog.end(),
                                          [&](const std::string& line) { return line.rfind(Prefix, 0) == 0; }));
}

std::vector<std::uint32_t> TFakeMidiApi::ShortsSent(unsigned DeviceId) const
{
    std::lock_guard lock(FLock);
    const auto it = FShorts.find(DeviceId);
    return it == FShorts.end() ? std::vector<std::uint32_t>{} : it->second;
}

std::vector<std::vector<std::uint8_t>> TFakeMidiApi::LongsSent(unsigned DeviceId) const
{
    std::lock_guard lock(FLock);
    const auto it = FLongs.find(DeviceId);
    return it == FLongs.end() ? std::vector<std::vector<std::uint8_t>>{} : it->second;
}

std::uint32_t TFakeMidiApi::DeviceVolume(unsigned DeviceId) const
{
    std::lock_guard lock(FLock);
    return DeviceId < FOutputs.size() ? FOutputs[DeviceId].Volume : 0;
}

bool TFakeMidiApi::InputOpen(unsigned DeviceId) const
{
    std::lock_guard lock(FLock);
    return std::any_of(FOpenInputs.begin(), FOpenInputs.end(),
                       [&](const auto& entry) { return entry.second.DeviceId == DeviceId; });
}

bool TFakeMidiApi::OutputOpen(unsigned DeviceId) const
{
    std::lock_guard lock(FLock);
    return std::any_of(FOpenOutputs.begin(), FOpenOutputs.end(),
                       [&](const auto& entry) { return entry.second.DeviceId == DeviceId; });
}

int TFakeMidiApi::QueuedBuffers(unsigned DeviceId) const
{
    std::lock_guard lock(FLock);
    for (const auto& [handle, input] : FOpenInputs)
        if (input.DeviceId == DeviceId) return static_cast<int>(input.Queue.size());
    return 0;
}

void TFakeMidiApi::InjectShort(unsigned DeviceId, std::uint32_t Msg)
{
    Schedule({}, [this, DeviceId, Msg] { DeliverShort(DeviceId, Msg); });
}

void TFakeMidiApi::InjectSysEx(unsigned DeviceId, std::vector<std::uint8_t> Bytes)
{
    Schedule({}, [this, DeviceId, bytes = std::move(Bytes)] { DeliverSysEx(DeviceId, bytes); });
}

void TFakeMidiApi::WaitIdle()
{
    std::unique_lock lock(FLock);
    FIdle.wait(lock, [this] { return (FTasks.empty() && !FBusy) || FStopping; });
}

void TFakeMidiApi::Schedule(std::chrono::steady_clock::duration Delay, std::function<void()> Run)
{
    {
        std::lock_guard lock(FLock);
        FTasks.emplace(std::chrono::steady_clock::now() + Delay, std::move(Run));
    }
    FWake.notify_all();
}

void TFakeMidiApi::WorkerLoop()
{
    std::unique_lock lock(FLock);
    while (!FStopping) {
        if (FTasks.empty()) {
            FIdle.notify_all();
            FWake.wait(lock);
            continue;
        }
        const auto first = FTasks.begin();
        if (first->first > std::chrono::steady_clock::now()) {
            FWake.wait_until(lock, first->first);
            continue;
        }
        auto run = std::move(first->second);
        FTasks.erase(first);
        FBusy = true;
        lock.unlock();
        try {
            run();
        } catch (...) {
            // A driver thread has no one to report to; the tests see the missing effect.
        }
        lock.lock();
        FBusy = false;
    }
    FIdle.notify_all();
}

TFakeMidiApi::OpenInput* TFakeMidiApi::FindStartedInput(unsigned DeviceId, TMidiHandle& Handle)
{
    for (auto& [handle, input] : FOpenInputs)
        if (input.DeviceId == DeviceId && input.Started) {
            Handle = handle;
            return &input;
        }
    return nullptr;
}

void TFakeMidiApi::DeliverShort(unsigned DeviceId, std::uint32_t Msg)
{
    TMidiInProc callback;
    TMidiHandle handle = 0;
    std::uintptr_t instance = 0;
    {
        std::lock_guard lock(FLock);
        OpenInput* input = FindStartedInput(DeviceId, handle);
        if (!input) return;
        callback = input->Callback;
        instance = input->Instance;
    }
    if (callback) callback(handle, MIM_DATA, instance, Msg, 0);
}

void TFakeMidiApi::DeliverSysEx(unsigned DeviceId, const std::vector<std::uint8_t>& Bytes)
{
    std::size_t offset = 0;
    while (offset < Bytes.size()) {
        TMidiInProc callback;
        TMidiHandle handle = 0;
        std::uintptr_t instance = 0;
        TMidiHeader* header = nullptr;
        {
            std::lock_guard lock(FLock);
            OpenInput* input = FindStartedInput(DeviceId, handle);
            if (!input) return;
            if (input->Queue.empty()) {
                Record(Format("sysex dropped on %d: no buffer (%d bytes left)",
                              {static_cast<int>(DeviceId), static_cast<int>(Bytes.size() - offset)}));
                return;
            }
            header = input->Queue.front();
            input->Queue.erase(input->Queue.begin());
            const std::size_t count = std::min<std::size_t>(header->BufferLength, Bytes.size() - offset);
            std::memcpy(header->Data, Bytes.data() + offset, count);
            offset += count;
            header->BytesRecorded = static_cast<std::uint32_t>(count);
            header->Flags = (header->Flags | MHDR_DONE) & ~MHDR_INQUEUE;
            callback = input->Callback;
            instance = input->Instance;
        }
        if (callback) callback(handle, MIM_LONGDATA, instance, reinterpret_cast<std::uintptr_t>(header), 0);
    }
}

void TFakeMidiApi::CompleteLong(TMidiHandle Handle, TMidiHeader* Header)
{
    std::lock_guard lock(FLock);
    const auto output = FOpenOutputs.find(Handle);
    if (output == FOpenOutputs.end()) return;
    auto& pending = output->second.Pending;
    const auto it = std::find(pending.begin(), pending.end(), Header);
    if (it == pending.end()) return; // a reset completed it already
    pending.erase(it);
    // Read the bytes now, as a driver does while it sends them.
    FLongs[output->second.DeviceId].emplace_back(Header->Data, Header->Data + Header->BufferLength);
    Header->Flags = (Header->Flags | MHDR_DONE) & ~MHDR_INQUEUE;
}

bool TFakeMidiApi::TakeFailure(const std::string& Call, TMMResult& Code)
{
    const auto it = FFailures.find(Call);
    if (it == FFailures.end() || it->second.second == 0) return false;
    Code = it->second.first;
    if (it->second.second > 0) --it->second.second;
    return true;
}

void TFakeMidiApi::Record(const std::string& Line)
{
    if (FLogEnabled) FLog.push_back(Line);
    if (FLogFile.is_open()) FLogFile << Line << std::endl;
}

TMMResult TFakeMidiApi::Answer(const std::string& Call, const std::string& Args, TMMResult Result)
{
    if (FLogEnabled || FLogFile.is_open())
        Record(Format("%s(%s) = %d", {Call, Args, static_cast<int>(Result)}));
    return Result;
}

std::string TFakeMidiApi::DeviceOf(TMidiHandle Handle) const
{
    if (const auto in = FOpenInputs.find(Handle); in != FOpenInputs.end())
        return IntToStr(in->second.DeviceId);
    if (const auto out = FOpenOutputs.find(Handle); out != FOpenOutputs.end())
        return IntToStr(out->second.DeviceId);
    return Format("bad handle %d", {static_cast<unsigned long long>(Handle)});
}

// Inputs.

unsigned TFakeMidiApi::InGetNumDevs()
{
    std::lock_guard lock(FLock);
    Answer("midiInGetNumDevs", "", static_cast<TMMResult>(FInputs.size()));
    return static_cast<unsigned>(FInputs.size());
}

TMMResult TFakeMidiApi::InGetDevCaps(unsigned DeviceId, TMidiInCaps& Caps)
{
    std::lock_guard lock(FLock);
    const std::string args = IntToStr(DeviceId);
    TMMResult code = 0;
    if (TakeFailure("midiInGetDevCaps", code)) return Answer("midiInGetDevCaps", args, code);
    if (DeviceId >= FInputs.size()) return Answer("midiInGetDevCaps", args, MMSYSERR_BADDEVICEID);
    if (FInputs[DeviceId].CapsFail) return Answer("midiInGetDevCaps", args, MMSYSERR_ERROR);
    Caps.ProductName = FInputs[DeviceId].Name;
    return Answer("midiInGetDevCaps", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::InOpen(TMidiHandle& Handle, unsigned DeviceId, TMidiInProc Callback, std::uintptr_t Instance)
{
    TMMResult result = MMSYSERR_NOERROR;
    {
        std::lock_guard lock(FLock);
        const std::string args = Format("%d, instance %d", {DeviceId, static_cast<unsigned long long>(Instance)});
        Handle = 0;
        if (TakeFailure("midiInOpen", result)) return Answer("midiInOpen", args, result);
        if (DeviceId >= FInputs.size()) return Answer("midiInOpen", args, MMSYSERR_BADDEVICEID);
        for (const auto& [handle, input] : FOpenInputs)
            if (input.DeviceId == DeviceId) return Answer("midiInOpen", args, MMSYSERR_ALLOCATED);
        Handle = FNextHandle++;
        FOpenInputs[Handle] = OpenInput{DeviceId, Callback, Instance, false, {}};
        Answer("midiInOpen", args, result);
    }
    if (Callback) Callback(Handle, MIM_OPEN, Instance, 0, 0);
    return result;
}

TMMResult TFakeMidiApi::InPrepareHeader(TMidiHandle Handle, TMidiHeader& Header)
{
    std::lock_guard lock(FLock);
    const std::string args = Format("%s, %d", {DeviceOf(Handle), static_cast<int>(Header.BufferLength)});
    TMMResult code = 0;
    if (TakeFailure("midiInPrepareHeader", code)) return Answer("midiInPrepareHeader", args, code);
    if (!FOpenInputs.count(Handle)) return Answer("midiInPrepareHeader", args, MMSYSERR_INVALHANDLE);
    if (!Header.Data) return Answer("midiInPrepareHeader", args, MMSYSERR_INVALPARAM);
    Header.Flags |= MHDR_PREPARED;
    return Answer("midiInPrepareHeader", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::InAddBuffer(TMidiHandle Handle, TMidiHeader& Header)
{
    std::lock_guard lock(FLock);
    const std::string args = Format("%s, %d", {DeviceOf(Handle), static_cast<int>(Header.BufferLength)});
    TMMResult code = 0;
    if (TakeFailure("midiInAddBuffer", code)) return Answer("midiInAddBuffer", args, code);
    const auto input = FOpenInputs.find(Handle);
    if (input == FOpenInputs.end()) return Answer("midiInAddBuffer", args, MMSYSERR_INVALHANDLE);
    if (!(Header.Flags & MHDR_PREPARED)) return Answer("midiInAddBuffer", args, MIDIERR_UNPREPARED);
    if (Header.Flags & MHDR_INQUEUE) return Answer("midiInAddBuffer", args, MIDIERR_STILLPLAYING);
    Header.Flags = (Header.Flags & ~MHDR_DONE) | MHDR_INQUEUE;
    input->second.Queue.push_back(&Header);
    return Answer("midiInAddBuffer", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::InStart(TMidiHandle Handle)
{
    std::lock_guard lock(FLock);
    const std::string args = DeviceOf(Handle);
    TMMResult code = 0;
    if (TakeFailure("midiInStart", code)) return Answer("midiInStart", args, code);
    const auto input = FOpenInputs.find(Handle);
    if (input == FOpenInputs.end()) return Answer("midiInStart", args, MMSYSERR_INVALHANDLE);
    input->second.Started = true;
    return Answer("midiInStart", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::InStop(TMidiHandle Handle)
{
    std::lock_guard lock(FLock);
    const std::string args = DeviceOf(Handle);
    TMMResult code = 0;
    if (TakeFailure("midiInStop", code)) return Answer("midiInStop", args, code);
    const auto input = FOpenInputs.find(Handle);
    if (input == FOpenInputs.end()) return Answer("midiInStop", args, MMSYSERR_INVALHANDLE);
    input->second.Started = false;
    return Answer("midiInStop", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::InReset(TMidiHandle Handle)
{
    // The reset returns every queued buffer through the callback before it returns itself.
    std::vector<TMidiHeader*> returned;
    TMidiInProc callback;
    std::uintptr_t instance = 0;
    {
        std::lock_guard lock(FLock);
        const std::string args = DeviceOf(Handle);
        TMMResult code = 0;
        if (TakeFailure("midiInReset", code)) return Answer("midiInReset", args, code);
        const auto input = FOpenInputs.find(Handle);
        if (input == FOpenInputs.end()) return Answer("midiInReset", args, MMSYSERR_INVALHANDLE);
        input->second.Started = false;
        returned.swap(input->second.Queue);
        for (TMidiHeader* header : returned) header->Flags = (header->Flags | MHDR_DONE) & ~MHDR_INQUEUE;
        callback = input->second.Callback;
        instance = input->second.Instance;
        Answer("midiInReset", args, MMSYSERR_NOERROR);
    }
    for (TMidiHeader* header : returned)
        if (callback) callback(Handle, MIM_LONGDATA, instance, reinterpret_cast<std::uintptr_t>(header), 0);
    return MMSYSERR_NOERROR;
}

TMMResult TFakeMidiApi::InUnprepareHeader(TMidiHandle Handle, TMidiHeader& Header)
{
    std::lock_guard lock(FLock);
    const std::string args = Format("%s, %d", {DeviceOf(Handle), static_cast<int>(Header.BufferLength)});
    TMMResult code = 0;
    if (TakeFailure("midiInUnprepareHeader", code)) return Answer("midiInUnprepareHeader", args, code);
    if (!FOpenInputs.count(Handle)) return Answer("midiInUnprepareHeader", args, MMSYSERR_INVALHANDLE);
    if (Header.Flags & MHDR_INQUEUE) return Answer("midiInUnprepareHeader", args, MIDIERR_STILLPLAYING);
    Header.Flags &= ~MHDR_PREPARED;
    return Answer("midiInUnprepareHeader", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::InClose(TMidiHandle Handle)
{
    TMidiInProc callback;
    std::uintptr_t instance = 0;
    {
        std::lock_guard lock(FLock);
        const std::string args = DeviceOf(Handle);
        TMMResult code = 0;
        if (TakeFailure("midiInClose", code)) return Answer("midiInClose", args, code);
        const auto input = FOpenInputs.find(Handle);
        if (input == FOpenInputs.end()) return Answer("midiInClose", args, MMSYSERR_INVALHANDLE);
        if (!input->second.Queue.empty()) return Answer("midiInClose", args, MIDIERR_STILLPLAYING);
        callback = input->second.Callback;
        instance = input->second.Instance;
        FOpenInputs.erase(input);
        Answer("midiInClose", args, MMSYSERR_NOERROR);
    }
    if (callback) callback(Handle, MIM_CLOSE, instance, 0, 0);
    return MMSYSERR_NOERROR;
}

TMMResult TFakeMidiApi::InGetErrorText(TMMResult Result, std::string& Text)
{
    static const std::map<TMMResult, std::string> texts = {
        {MMSYSERR_ERROR, "Unspecified error."},
        {MMSYSERR_BADDEVICEID, "The device identifier is out of range."},
        {MMSYSERR_ALLOCATED, "The device is already in use."},
        {MMSYSERR_INVALHANDLE, "The device handle is invalid."},
        {MMSYSERR_NOMEM, "Not enough memory."},
        {MMSYSERR_NOTSUPPORTED, "The function is not supported."},
        {MMSYSERR_INVALPARAM, "An invalid parameter was passed."},
        {MIDIERR_UNPREPARED, "The header is not prepared."},
        {MIDIERR_STILLPLAYING, "The buffer is still in use."},
    };
    std::lock_guard lock(FLock);
    const std::string args = IntToStr(Result);
    const auto it = texts.find(Result);
    if (it == texts.end()) return Answer("midiInGetErrorText", args, MMSYSERR_BADERRNUM);
    Text = "Fake MIDI: " + it->second;
    return Answer("midiInGetErrorText", args, MMSYSERR_NOERROR);
}

// Outputs.

unsigned TFakeMidiApi::OutGetNumDevs()
{
    std::lock_guard lock(FLock);
    Answer("midiOutGetNumDevs", "", static_cast<TMMResult>(FOutputs.size()));
    return static_cast<unsigned>(FOutputs.size());
}

TMMResult TFakeMidiApi::OutGetDevCaps(unsigned DeviceId, TMidiOutCaps& Caps)
{
    std::lock_guard lock(FLock);
    const std::string args = IntToStr(DeviceId);
    TMMResult code = 0;
    if (TakeFailure("midiOutGetDevCaps", code)) return Answer("midiOutGetDevCaps", args, code);
    if (DeviceId >= FOutputs.size()) return Answer("midiOutGetDevCaps", args, MMSYSERR_BADDEVICEID);
    if (FOutputs[DeviceId].CapsFail) return Answer("midiOutGetDevCaps", args, MMSYSERR_ERROR);
    Caps.ProductName = FOutputs[DeviceId].Name;
    Caps.Support = FOutputs[DeviceId].HasVolume ? MIDICAPS_VOLUME : 0;
    return Answer("midiOutGetDevCaps", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::OutOpen(TMidiHandle& Handle, unsigned DeviceId)
{
    std::lock_guard lock(FLock);
    const std::string args = IntToStr(DeviceId);
    Handle = 0;
    TMMResult code = 0;
    if (TakeFailure("midiOutOpen", code)) return Answer("midiOutOpen", args, code);
    if (DeviceId >= FOutputs.size()) return Answer("midiOutOpen", args, MMSYSERR_BADDEVICEID);
    for (const auto& [handle, output] : FOpenOutputs)
        if (output.DeviceId == DeviceId) return Answer("midiOutOpen", args, MMSYSERR_ALLOCATED);
    Handle = FNextHandle++;
    FOpenOutputs[Handle] = OpenOutput{DeviceId, {}};
    return Answer("midiOutOpen", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::OutShortMsg(TMidiHandle Handle, std::uint32_t Msg)
{
    std::lock_guard lock(FLock);
    const std::string args = Format("%s, $%.8x", {DeviceOf(Handle), Msg});
    TMMResult code = 0;
    if (TakeFailure("midiOutShortMsg", code)) return Answer("midiOutShortMsg", args, code);
    const auto output = FOpenOutputs.find(Handle);
    if (output == FOpenOutputs.end()) return Answer("midiOutShortMsg", args, MMSYSERR_INVALHANDLE);
    FShorts[output->second.DeviceId].push_back(Msg);
    return Answer("midiOutShortMsg", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::OutPrepareHeader(TMidiHandle Handle, TMidiHeader& Header)
{
    std::lock_guard lock(FLock);
    const std::string args = Format("%s, %d", {DeviceOf(Handle), static_cast<int>(Header.BufferLength)});
    TMMResult code = 0;
    if (TakeFailure("midiOutPrepareHeader", code)) return Answer("midiOutPrepareHeader", args, code);
    if (!FOpenOutputs.count(Handle)) return Answer("midiOutPrepareHeader", args, MMSYSERR_INVALHANDLE);
    Header.Flags |= MHDR_PREPARED;
    return Answer("midiOutPrepareHeader", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::OutLongMsg(TMidiHandle Handle, TMidiHeader& Header)
{
    std::chrono::milliseconds delay;
    {
        std::lock_guard lock(FLock);
        const std::string args = Format("%s, %d", {DeviceOf(Handle), static_cast<int>(Header.BufferLength)});
        TMMResult code = 0;
        if (TakeFailure("midiOutLongMsg", code)) return Answer("midiOutLongMsg", args, code);
        const auto output = FOpenOutputs.find(Handle);
        if (output == FOpenOutputs.end()) return Answer("midiOutLongMsg", args, MMSYSERR_INVALHANDLE);
        if (!(Header.Flags & MHDR_PREPARED)) return Answer("midiOutLongMsg", args, MIDIERR_UNPREPARED);
        Header.Flags = (Header.Flags & ~MHDR_DONE) | MHDR_INQUEUE;
        output->second.Pending.push_back(&Header);
        delay = FLongDelay;
        Answer("midiOutLongMsg", args, MMSYSERR_NOERROR);
    }
    Schedule(delay, [this, Handle, header = &Header] { CompleteLong(Handle, header); });
    return MMSYSERR_NOERROR;
}

TMMResult TFakeMidiApi::OutUnprepareHeader(TMidiHandle Handle, TMidiHeader& Header)
{
    std::lock_guard lock(FLock);
    const std::string args = Format("%s, %d", {DeviceOf(Handle), static_cast<int>(Header.BufferLength)});
    TMMResult code = 0;
    if (TakeFailure("midiOutUnprepareHeader", code)) return Answer("midiOutUnprepareHeader", args, code);
    if (!FOpenOutputs.count(Handle)) return Answer("midiOutUnprepareHeader", args, MMSYSERR_INVALHANDLE);
    if (Header.Flags & MHDR_INQUEUE) return Answer("midiOutUnprepareHeader", args, MIDIERR_STILLPLAYING);
    Header.Flags &= ~MHDR_PREPARED;
    return Answer("midiOutUnprepareHeader", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::OutReset(TMidiHandle Handle)
{
    std::lock_guard lock(FLock);
    const std::string args = DeviceOf(Handle);
    TMMResult code = 0;
    if (TakeFailure("midiOutReset", code)) return Answer("midiOutReset", args, code);
    const auto output = FOpenOutputs.find(Handle);
    if (output == FOpenOutputs.end()) return Answer("midiOutReset", args, MMSYSERR_INVALHANDLE);
    for (TMidiHeader* header : output->second.Pending) header->Flags = (header->Flags | MHDR_DONE) & ~MHDR_INQUEUE;
    output->second.Pending.clear();
    return Answer("midiOutReset", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::OutClose(TMidiHandle Handle)
{
    std::lock_guard lock(FLock);
    const std::string args = DeviceOf(Handle);
    TMMResult code = 0;
    if (TakeFailure("midiOutClose", code)) return Answer("midiOutClose", args, code);
    const auto output = FOpenOutputs.find(Handle);
    if (output == FOpenOutputs.end()) return Answer("midiOutClose", args, MMSYSERR_INVALHANDLE);
    if (!output->second.Pending.empty()) return Answer("midiOutClose", args, MIDIERR_STILLPLAYING);
    FOpenOutputs.erase(output);
    return Answer("midiOutClose", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::OutGetVolume(TMidiHandle Handle, std::uint32_t& Volume)
{
    std::lock_guard lock(FLock);
    const std::string args = DeviceOf(Handle);
    TMMResult code = 0;
    if (TakeFailure("midiOutGetVolume", code)) return Answer("midiOutGetVolume", args, code);
    const auto output = FOpenOutputs.find(Handle);
    if (output == FOpenOutputs.end()) return Answer("midiOutGetVolume", args, MMSYSERR_INVALHANDLE);
    const TFakeMidiDevice& device = FOutputs[output->second.DeviceId];
    if (!device.HasVolume) return Answer("midiOutGetVolume", args, MMSYSERR_NOTSUPPORTED);
    Volume = device.Volume;
    return Answer("midiOutGetVolume", args, MMSYSERR_NOERROR);
}

TMMResult TFakeMidiApi::OutSetVolume(TMidiHandle Handle, std::uint32_t Volume)
{
    std::lock_guard lock(FLock);
    const std::string args = Format("%s, $%.8x", {DeviceOf(Handle), Volume});
    TMMResult code = 0;
    if (TakeFailure("midiOutSetVolume", code)) return Answer("midiOutSetVolume", args, code);
    const auto output = FOpenOutputs.find(Handle);
    if (output == FOpenOutputs.end()) return Answer("midiOutSetVolume", args, MMSYSERR_INVALHANDLE);
    TFakeMidiDevice& device = FOutputs[output->second.DeviceId];
    if (!device.HasVolume) return Answer("midiOutSetVolume", args, MMSYSERR_NOTSUPPORTED);
    device.Volume = Volume;
    return Answer("midiOutSetVolume", args, MMSYSERR_NOERROR);
}

std::uint32_t TFakeMidiApi::HeaderFlags(const TMidiHeader& Header)
{
    return Header.Flags.load();
}

} // namespace kv
