#include "midi/win/kvWinMidiTimer.h"

#include "midi/win/kvWinMessageWindow.h"

#include <mmsystem.h>

#include <utility>

namespace kv {

void CALLBACK MidiTimerCallback(UINT, UINT, DWORD_PTR dwUser, DWORD_PTR dw1, DWORD_PTR dw2)
{
    // Nothing here can raise; the tick itself runs on the window's thread.
    PostMessageW(reinterpret_cast<HWND>(dwUser), WM_MIDITIMER, static_cast<WPARAM>(dw1), static_cast<LPARAM>(dw2));
}

std::optional<TKVTimerCaps> TKVWinMidiTimer::GetDevCaps()
{
    TIMECAPS caps{};
    if (timeGetDevCaps(&caps, sizeof caps) != TIMERR_NOERROR) return std::nullopt;
    return TKVTimerCaps{caps.wPeriodMin, caps.wPeriodMax};
}

void TKVWinMidiTimer::BeginPeriod(std::uint32_t Period)
{
    timeBeginPeriod(Period);
}

void TKVWinMidiTimer::EndPeriod(std::uint32_t Period)
{
    timeEndPeriod(Period);
}

std::uint32_t TKVWinMidiTimer::SetEvent(std::uint32_t Delay, std::uint32_t Resolution, const TKVMessageWindow& Target)
{
    return timeSetEvent(Delay, Resolution, &MidiTimerCallback, static_cast<DWORD_PTR>(Target.Handle()),
                        TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
}

void TKVWinMidiTimer::KillEvent(std::uint32_t TimerID)
{
    timeKillEvent(TimerID);
}

std::uint32_t TKVWinMidiTimer::GetTickCount()
{
    // The same wrapping milliseconds since system start as the kernel's tick count, but kept to
    // the timer period the player requested instead of the scheduler's 10-16 ms.
    return timeGetTime();
}

std::unique_ptr<TKVMessageWindow> TKVWinMidiTimer::AllocateHWnd(TKVWndMethod Method)
{
    return std::make_unique<TKVWinMessageWindow>(std::move(Method));
}

TKVMidiTimer& SystemMidiTimer()
{
    static TKVWinMidiTimer timer;
    return timer;
}

} // namespace kv
