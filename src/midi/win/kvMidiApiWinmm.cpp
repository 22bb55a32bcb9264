// The MIDI seam over winmm.
//
// The driver works on MIDIHDR records; each portable header gets one while it is prepared, kept
// here and found again through dwUser. Input callbacks reach the function object given at open
// through a serial number, never through a pointer: a callback that arrives after the device was
// closed finds no entry and does nothing.
#include "midi/kvMidiApi.h"

#include <windows.h>
#include <mmsystem.h>

#include <map>
#include <mutex>

namespace kv {

namespace {

std::string Utf8(const wchar_t* Text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, Text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string result(static_cast<std::size_t>(size - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, Text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

class TWinmmMidiApi : public IMidiApi {
public:
    unsigned InGetNumDevs() override { return midiInGetNumDevs(); }

    TMMResult InGetDevCaps(unsigned DeviceId, TMidiInCaps& Caps) override
    {
        MIDIINCAPSW caps{};
        const MMRESULT result = midiInGetDevCapsW(DeviceId, &caps, sizeof(caps));
        if (result == MMSYSERR_NOERROR) Caps.ProductName = Utf8(caps.szPname);
        return result;
    }

    TMMResult InOpen(TMidiHandle& Handle, unsigned DeviceId, TMidiInProc Callback, std::uintptr_t Instance) override
    {
        std::uintptr_t serial;
        {
            std::lock_guard lock(FLock);
            serial = ++FLastSerial;
            FInputs[serial] = {std::move(Callback), Instance};
        }
        HMIDIIN handle = nullptr;
        const MMRESULT result = midiInOpen(&handle, DeviceId, reinterpret_cast<DWORD_PTR>(&InProc),
                                           static_cast<DWORD_PTR>(serial), CALLBACK_FUNCTION);
        std::lock_guard lock(FLock);
        if (result != MMSYSERR_NOERROR) {
            FInputs.erase(serial);
            Handle = 0;
        } else {
            Handle = reinterpret_cast<TMidiHandle>(handle);
            FSerials[Handle] = serial;
        }
        return result;
    }

    TMMResult InPrepareHeader(TMidiHandle Handle, TMidiHeader& Header) override
    {
        MIDIHDR& record = Record(Header);
        return midiInPrepareHeader(In(Handle), &record, sizeof(MIDIHDR));
    }

    TMMResult InAddBuffer(TMidiHandle Handle, TMidiHeader& Header) override
    {
        MIDIHDR& record = Record(Header);
        return midiInAddBuffer(In(Handle), &record, sizeof(MIDIHDR));
    }

    TMMResult InStart(TMidiHandle Handle) override { return midiInStart(In(Handle)); }
    TMMResult InStop(TMidiHandle Handle) override { return midiInStop(In(Handle)); }
    TMMResult InReset(TMidiHandle Handle) override { return midiInReset(In(Handle)); }

    TMMResult InUnprepareHeader(TMidiHandle Handle, TMidiHeader& Header) override
    {
        const MMRESULT result = midiInUnprepareHeader(In(Handle), &Record(Header), sizeof(MIDIHDR));
        if (result == MMSYSERR_NOERROR) Forget(Header);
        return result;
    }

    TMMResult InClose(TMidiHandle Handle) override
    {
        const MMRESULT result = midiInClose(In(Handle));
        if (result == MMSYSERR_NOERROR) {
            std::lock_guard lock(FLock);
            if (const auto it = FSerials.find(Handle); it != FSerials.end()) {
                FInputs.erase(it->second);
                FSerials.erase(it);
            }
        }
        return result;
    }

    TMMResult InGetErrorText(TMMResult Result, std::string& Text) override
    {
        wchar_t buffer[128] = {};
        const MMRESULT result = midiInGetErrorTextW(Result, buffer, 128);
        if (result == MMSYSERR_NOERROR) Text = Utf8(buffer);
        return result;
    }

    unsigned OutGetNumDevs() override { return midiOutGetNumDevs(); }

    TMMResult OutGetDevCaps(unsigned DeviceId, TMidiOutCaps& Caps) override
    {
        MIDIOUTCAPSW caps{};
        const MMRESULT result = midiOutGetDevCapsW(DeviceId, &caps, sizeof(caps));
        if (result == MMSYSERR_NOERROR) {
            Caps.ProductName = Utf8(caps.szPname);
            Caps.Support = caps.dwSupport;
        }
        return result;
    }

    TMMResult OutOpen(TMidiHandle& Handle, unsigned DeviceId) override
    {
        HMIDIOUT handle = nullptr;
        const MMRESULT result = midiOutOpen(&handle, DeviceId, 0, 0, CALLBACK_NULL);
        Handle = result == MMSYSERR_NOERROR ? reinterpret_cast<TMidiHandle>(handle) : 0;
        return result;
    }

    TMMResult OutShortMsg(TMidiHandle Handle, std::uint32_t Msg) override { return midiOutShortMsg(Out(Handle), Msg); }

    TMMResult OutPrepareHeader(TMidiHandle Handle, TMidiHeader& Header) override
    {
        return midiOutPrepareHeader(Out(Handle), &Record(Header), sizeof(MIDIHDR));
    }

    TMMResult OutLongMsg(TMidiHandle Handle, TMidiHeader& Header) override
    {
        return midiOutLongMsg(Out(Handle), &Record(Header), sizeof(MIDIHDR));
    }

    TMMResult OutUnprepareHeader(TMidiHandle Handle, TMidiHeader& Header) override
    {
        const MMRESULT result = midiOutUnprepareHeader(Out(Handle), &Record(Header), sizeof(MIDIHDR));
        if (result == MMSYSERR_NOERROR) Forget(Header);
        return result;
    }

    TMMResult OutReset(TMidiHandle Handle) override { return midiOutReset(Out(Handle)); }
    TMMResult OutClose(TMidiHandle Handle) override { return midiOutClose(Out(Handle)); }

    TMMResult OutGetVolume(TMidiHandle Handle, std::uint32_t& Volume) override
    {
        DWORD volume = 0;
        const MMRESULT result = midiOutGetVolume(Out(Handle), &volume);
        Volume = volume;
        return result;
    }

    TMMResult OutSetVolume(TMidiHandle Handle, std::uint32_t Volume) override
    {
        return midiOutSetVolume(Out(Handle), Volume);
    }

    std::uint32_t HeaderFlags(const TMidiHeader& Header) override
    {
        std::lock_guard lock(FLock);
        const auto it = FRecords.find(&Header);
        if (it == FRecords.end()) return Header.Flags;
        return static_cast<volatile DWORD&>(it->second->dwFlags);
    }

private:
    struct TInputEntry {
        TMidiInProc Callback;
        std::uintptr_t Instance = 0;
    };

    static HMIDIIN In(TMidiHandle Handle) { return reinterpret_cast<HMIDIIN>(Handle); }
    static HMIDIOUT Out(TMidiHandle Handle) { return reinterpret_cast<HMIDIOUT>(Handle); }

    // The driver's record of a portable header, made on first use and brought up to date with
    // the fields the caller set.
    MIDIHDR& Record(TMidiHeader& Header)
    {
        std::lock_guard lock(FLock);
        auto& record = FRecords[&Header];
        if (!record) record = std::make_unique<MIDIHDR>(); // flags 0: not prepared
        record->lpData = reinterpret_cast<LPSTR>(Header.Data);
        record->dwBufferLength = Header.BufferLength;
        record->dwBytesRecorded = Header.BytesRecorded;
        record->dwUser = reinterpret_cast<DWORD_PTR>(&Header);
        return *record;
    }

    void Forget(TMidiHeader& Header)
    {
        std::lock_guard lock(FLock);
        FRecords.erase(&Header);
        Header.Flags = 0;
    }

    static void CALLBACK InProc(HMIDIIN Handle, UINT Msg, DWORD_PTR Instance, DWORD_PTR Param1, DWORD_PTR Param2)
    {
        // The driver's thread: nothing may escape into it.
        try {
            Process().Dispatch(reinterpret_cast<TMidiHandle>(Handle), Msg, Instance, Param1, Param2);
        } catch (...) {
        }
    }

    void Dispatch(TMidiHandle Handle, UINT Msg, std::uintptr_t Serial, DWORD_PTR Param1, DWORD_PTR Param2)
    {
        TInputEntry entry;
        {
            std::lock_guard lock(FLock);
            const auto it = FInputs.find(Serial);
            if (it == FInputs.end()) return;
            entry = it->second;
        }
        std::uintptr_t param1 = Param1;
        if (Msg == MIM_LONGDATA || Msg == MIM_LONGERROR) {
            auto* record = reinterpret_cast<MIDIHDR*>(Param1);
            auto* header = reinterpret_cast<TMidiHeader*>(record->dwUser);
            header->BytesRecorded = record->dwBytesRecorded;
            header->Flags = record->dwFlags;
            param1 = reinterpret_cast<std::uintptr_t>(header);
        }
        if (entry.Callback) entry.Callback(Handle, Msg, entry.Instance, param1, Param2);
    }

public:
    static TWinmmMidiApi& Process()
    {
        static TWinmmMidiApi api;
        return api;
    }

private:
    std::mutex FLock;
    std::uintptr_t FLastSerial = 0;
    std::map<std::uintptr_t, TInputEntry> FInputs;     // by serial
    std::map<TMidiHandle, std::uintptr_t> FSerials;    // serial of each open input
    std::map<const TMidiHeader*, std::unique_ptr<MIDIHDR>> FRecords;
};

} // namespace

std::shared_ptr<IMidiApi> CreatePlatformMidiApi()
{
    // One process-wide winmm object: its callback finds it without a pointer from the driver.
    return std::shared_ptr<IMidiApi>(&TWinmmMidiApi::Process(), [](IMidiApi*) {});
}

} // namespace kv
