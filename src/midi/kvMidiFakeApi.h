#pragma once
// A stand-in for the platform's MIDI services: scripted devices, a log of every call with its
// arguments, long messages completed asynchronously, and input injected from the fake's own
// thread through the callback given at open, as a driver does.
//
// The fake reads a long message's bytes when it completes it, not when it is sent, so a caller
// that frees the buffer too early is caught by the address sanitizer.
#include "midi/kvMidiApi.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kv {

struct TFakeMidiDevice {
    std::string Name;
    bool CapsFail = false;     // reading the capabilities fails
    bool HasVolume = true;     // output only: the device has a volume control
    std::uint32_t Volume = 0xFFFFFFFF;
};

class TFakeMidiApi : public IMidiApi {
public:
    TFakeMidiApi();
    ~TFakeMidiApi() override;

    // A fake from a description, or from the file it names. Items are separated by ";" or line
    // ends; "#" starts a comment:
    //   in=<name>[,nocaps]          an input device
    //   out=<name>[,nocaps][,novolume]   an output device
    //   fail=<call>:<code>          the named call (e.g. midiOutOpen) answers code, always
    //   longdelay=<ms>              time a long message takes to complete
    //   log=<file>                  every log line is also appended to this file
//   feed=<file>                 lines appended to this file are played on the inputs (SetFeedFile)
    static std::shared_ptr<TFakeMidiApi> FromSpec(const std::string& Spec);

    // Script (before the device objects are made).
    void AddInput(TFakeMidiDevice Device);
    void AddOutput(TFakeMidiDevice Device);
    // The named call answers Code without acting, Times times (forever when Times < 0).
    void FailCall(const std::string& Call, TMMResult Code, int Times = -1);
    void SetLongDelay(std::chrono::milliseconds Delay);
    // Keeps only the short-message record; for long stress runs.
    void SetLogEnabled(bool Enabled);
    void SetLogFile(const std::string& FileName);
    // Input played from outside the process: the fake watches the file and injects every whole
    // line appended to it, as "<input device> <hex bytes>", such as "0 90 3C 64". A line whose
    // first byte is F0 is a system-exclusive message, any other line a short message of its first
    // three bytes. Blank lines and lines starting with "#" are passed over, and so are lines that
    // do not read. Lines already in the file when the fake starts watching are played too.
    void SetFeedFile(const std::string& FileName);
    // One feed line read: false when it is no message.
    static bool ParseFeedLine(const std::string& Line, unsigned& DeviceId, std::vector<std::uint8_t>& Bytes);

    // Inspection.
    std::vector<std::string> Log() const;
    void ClearLog();
    // Number of logged calls whose line starts with Prefix.
    int CountCalls(const std::string& Prefix) const;
    // Short messages sent to an output device, packed, in order.
    std::vector<std::uint32_t> ShortsSent(unsigned DeviceId) const;
    // Long messages an output device completed, as the bytes it read.
    std::vector<std::vector<std::uint8_t>> LongsSent(unsigned DeviceId) const;
    std::uint32_t DeviceVolume(unsigned DeviceId) const;
    bool InputOpen(unsigned DeviceId) const;
    bool OutputOpen(unsigned DeviceId) const;
    // Buffers queued on an open input device.
    int QueuedBuffers(unsigned DeviceId) const;

    // Input from the fake's thread: delivered when the device is open and started, dropped
    // otherwise. A system-exclusive message fills the queued buffers one after the other.
    void InjectShort(unsigned DeviceId, std::uint32_t Msg);
    void InjectSysEx(unsigned DeviceId, std::vector<std::uint8_t> Bytes);
    // Waits until the fake's thread has nothing left to do (injections, due completions).
    void WaitIdle();

    unsigned InGetNumDevs() override;
    TMMResult InGetDevCaps(unsigned DeviceId, TMidiInCaps& Caps) override;
    TMMResult InOpen(TMidiHandle& Handle, unsigned DeviceId, TMidiInProc Callback, std::uintptr_t Instance) override;
    TMMResult InPrepareHeader(TMidiHandle Handle, TMidiHeader& Header) override;
    TMMResult InAddBuffer(TMidiHandle Handle, TMidiHeader& Header) override;
    TMMResult InStart(TMidiHandle Handle) override;
    TMMResult InStop(TMidiHandle Handle) override;
    TMMResult InReset(TMidiHandle Handle) override;
    TMMResult InUnprepareHeader(TMidiHandle Handle, TMidiHeader& Header) override;
    TMMResult InClose(TMidiHandle Handle) override;
    TMMResult InGetErrorText(TMMResult Result, std::string& Text) override;

    unsigned OutGetNumDevs() override;
    TMMResult OutGetDevCaps(unsigned DeviceId, TMidiOutCaps& Caps) override;
    TMMResult OutOpen(TMidiHandle& Handle, unsigned DeviceId) override;
    TMMResult OutShortMsg(TMidiHandle Handle, std::uint32_t Msg) override;
    TMMResult OutPrepareHeader(TMidiHandle Handle, TMidiHeader& Header) override;
    TMMResult OutLongMsg(TMidiHandle Handle, TMidiHeader& Header) override;
    TMMResult OutUnprepareHeader(TMidiHandle Handle, TMidiHeader& Header) override;
    TMMResult OutReset(TMidiHandle Handle) override;
    TMMResult OutClose(TMidiHandle Handle) override;
    TMMResult OutGetVolume(TMidiHandle Handle, std::uint32_t& Volume) override;
    TMMResult OutSetVolume(TMidiHandle Handle, std::uint32_t Volume) override;

    std::uint32_t HeaderFlags(const TMidiHeader& Header) override;

private:
    struct OpenInput {
        unsigned DeviceId = 0;
        TMidiInProc Callback;
        std::uintptr_t Instance = 0;
        bool Started = false;
        std::vector<TMidiHeader*> Queue;
    };
    struct OpenOutput {
        unsigned DeviceId = 0;
        std::vector<TMidiHeader*> Pending; // long messages not completed yet
    };
    // Takes a scripted failure of the call into Code; under FLock.
    bool TakeFailure(const std::string& Call, TMMResult& Code);
    // Logs "Call(Args) = Result" and answers Result; under FLock.
    TMMResult Answer(const std::string& Call, const std::string& Args, TMMResult Result);
    void Record(const std::string& Line);
    void Schedule(std::chrono::steady_clock::duration Delay, std::function<void()> Run);
    void WorkerLoop();
    void FeedLoop(std::string FileName);
    // Plays the whole lines appended to the feed file since Offset; Partial holds a line not yet
    // ended.
    void ReadFeed(const std::string& FileName, std::streamoff& Offset, std::string& Partial);
    void DeliverShort(unsigned DeviceId, std::uint32_t Msg);
    void DeliverSysEx(unsigned DeviceId, const std::vector<std::uint8_t>& Bytes);
    void CompleteLong(TMidiHandle Handle, TMidiHeader* Header);
    OpenInput* FindStartedInput(unsigned DeviceId, TMidiHandle& Handle);
    std::string DeviceOf(TMidiHandle Handle) const;

    mutable std::mutex FLock;
    std::vector<TFakeMidiDevice> FInputs, FOutputs;
    std::map<std::string, std::pair<TMMResult, int>> FFailures;
    std::chrono::milliseconds FLongDelay{5};
    bool FLogEnabled = true;
    std::vector<std::string> FLog;
    std::ofstream FLogFile;
    TMidiHandle FNextHandle = 1;
    std::map<TMidiHandle, OpenInput> FOpenInputs;
    std::map<TMidiHandle, OpenOutput> FOpenOutputs;
    std::map<unsigned, std::vector<std::uint32_t>> FShorts;
    std::map<unsigned, std::vector<std::vector<std::uint8_t>>> FLongs;

    std::condition_variable FWake;
    std::condition_variable FIdle;
    std::multimap<std::chrono::steady_clock::time_point, std::function<void()>> FTasks;
    bool FBusy = false;
    bool FStopping = false;
    std::thread FWorker;
    std::condition_variable FFeedWake;
    std::thread FFeedThread;
};

} // namespace kv
