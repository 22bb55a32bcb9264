#pragma once
// The seam between the MIDI device objects and the platform's MIDI services: the multimedia
// calls the device objects make, with portable types only. The Windows build implements it over
// winmm; TFakeMidiApi stands in for it in tests and in runs that select it (KV_MIDI_FAKE).
//
// Handles are opaque non-zero integers (0 = no device). Results are the platform's result codes
// (0 = success). Long-message headers belong to the caller, who keeps them alive and unmoved from
// prepare to unprepare.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kv {

using TMidiHandle = std::uintptr_t;
using TMMResult = std::uint32_t;

// Result codes of the platform.
constexpr TMMResult MMSYSERR_NOERROR = 0;
constexpr TMMResult MMSYSERR_ERROR = 1;
constexpr TMMResult MMSYSERR_BADDEVICEID = 2;
constexpr TMMResult MMSYSERR_ALLOCATED = 4;
constexpr TMMResult MMSYSERR_INVALHANDLE = 5;
constexpr TMMResult MMSYSERR_NOMEM = 7;
constexpr TMMResult MMSYSERR_NOTSUPPORTED = 8;
constexpr TMMResult MMSYSERR_BADERRNUM = 9;
constexpr TMMResult MMSYSERR_INVALPARAM = 11;
constexpr TMMResult MIDIERR_UNPREPARED = 64;
constexpr TMMResult MIDIERR_STILLPLAYING = 65;

// Messages of the input callback.
constexpr std::uint32_t MIM_OPEN = 0x3C1;
constexpr std::uint32_t MIM_CLOSE = 0x3C2;
constexpr std::uint32_t MIM_DATA = 0x3C3;
constexpr std::uint32_t MIM_LONGDATA = 0x3C4;
constexpr std::uint32_t MIM_ERROR = 0x3C5;
constexpr std::uint32_t MIM_LONGERROR = 0x3C6;

// Header flags.
constexpr std::uint32_t MHDR_DONE = 1;
constexpr std::uint32_t MHDR_PREPARED = 2;
constexpr std::uint32_t MHDR_INQUEUE = 4;

// Output capability: the device has a volume control.
constexpr std::uint32_t MIDICAPS_VOLUME = 1;

// A buffer handed to the driver. The driver side updates BytesRecorded and Flags; the device
// objects read them on the driver's thread (input) or poll them (output), hence atomics.
struct TMidiHeader {
    std::uint8_t* Data = nullptr;
    std::uint32_t BufferLength = 0;
    std::atomic<std::uint32_t> BytesRecorded{0};
    std::atomic<std::uint32_t> Flags{0};
};

struct TMidiInCaps {
    std::string ProductName;
};

struct TMidiOutCaps {
    std::string ProductName;
    std::uint32_t Support = 0; // MIDICAPS_ flags
};

// The input callback: handle, message, instance value given at open, parameter 1, parameter 2.
// For MIM_DATA parameter 1 is the packed short message and parameter 2 the time stamp; for
// MIM_LONGDATA parameter 1 is the address of the caller's TMidiHeader.
using TMidiInProc = std::function<void(TMidiHandle Handle, std::uint32_t Msg, std::uintptr_t Instance,
                                       std::uintptr_t Param1, std::uintptr_t Param2)>;

class IMidiApi {
public:
    virtual ~IMidiApi() = default;

    virtual unsigned InGetNumDevs() = 0;
    virtual TMMResult InGetDevCaps(unsigned DeviceId, TMidiInCaps& Caps) = 0;
    virtual TMMResult InOpen(TMidiHandle& Handle, unsigned DeviceId, TMidiInProc Callback, std::uintptr_t Instance) = 0;
    virtual TMMResult InPrepareHeader(TMidiHandle Handle, TMidiHeader& Header) = 0;
    virtual TMMResult InAddBuffer(TMidiHandle Handle, TMidiHeader& Header) = 0;
    virtual TMMResult InStart(TMidiHandle Handle) = 0;
    virtual TMMResult InStop(TMidiHandle Handle) = 0;
    virtual TMMResult InReset(TMidiHandle Handle) = 0;
    virtual TMMResult InUnprepareHeader(TMidiHandle Handle, TMidiHeader& Header) = 0;
    virtual TMMResult InClose(TMidiHandle Handle) = 0;
    // The platform's text for a result code (UTF-8).
    virtual TMMResult InGetErrorText(TMMResult Result, std::string& Text) = 0;

    virtual unsigned OutGetNumDevs() = 0;
    virtual TMMResult OutGetDevCaps(unsigned DeviceId, TMidiOutCaps& Caps) = 0;
    virtual TMMResult OutOpen(TMidiHandle& Handle, unsigned DeviceId) = 0;
    virtual TMMResult OutShortMsg(TMidiHandle Handle, std::uint32_t Msg) = 0;
    virtual TMMResult OutPrepareHeader(TMidiHandle Handle, TMidiHeader& Header) = 0;
    virtual TMMResult OutLongMsg(TMidiHandle Handle, TMidiHeader& Header) = 0;
    virtual TMMResult OutUnprepareHeader(TMidiHandle Handle, TMidiHeader& Header) = 0;
    virtual TMMResult OutReset(TMidiHandle Handle) = 0;
    virtual TMMResult OutClose(TMidiHandle Handle) = 0;
    virtual TMMResult OutGetVolume(TMidiHandle Handle, std::uint32_t& Volume) = 0;
    virtual TMMResult OutSetVolume(TMidiHandle Handle, std::uint32_t Volume) = 0;

    // The flags the driver holds for a prepared header (MHDR_DONE once it has finished with it).
    virtual std::uint32_t HeaderFlags(const TMidiHeader& Header) = 0;
};

// The process-wide MIDI services. The first call chooses them: the fake described by the
// environment variable KV_MIDI_FAKE when it is set (see TFakeMidiApi::FromSpec), the platform's
// otherwise.
std::shared_ptr<IMidiApi> MidiApi();
// Replaces the process-wide services (tests); objects made earlier keep theirs.
void SetMidiApi(std::shared_ptr<IMidiApi> Api);
// winmm on Windows; elsewhere a fake without devices.
std::shared_ptr<IMidiApi> CreatePlatformMidiApi();

} // namespace kv
