#pragma once
// The system's time services: winmm's periodic multimedia timer, whose callback posts
// WM_MIDITIMER to the player's hidden window, and the system tick count.
#include "midi/kvMidiTimer.h"

#include <windows.h>

namespace kv {

// The timer's callback: posts WM_MIDITIMER with dw1 and dw2 to the window whose handle is
// dwUser. Runs on the timer's own thread and does nothing else.
void CALLBACK MidiTimerCallback(UINT uTimerID, UINT uMsg, DWORD_PTR dwUser, DWORD_PTR dw1, DWORD_PTR dw2);

class TKVWinMidiTimer : public TKVMidiTimer {
public:
    std::optional<TKVTimerCaps> GetDevCaps() override;
    void BeginPeriod(std::uint32_t Period) override;
    void EndPeriod(std::uint32_t Period) override;
    std::uint32_t SetEvent(std::uint32_t Delay, std::uint32_t Resolution, const TKVMessageWindow& Target) override;
    void KillEvent(std::uint32_t TimerID) override;
    std::uint32_t GetTickCount() override;
    std::unique_ptr<TKVMessageWindow> AllocateHWnd(TKVWndMethod Method) override;
};

} // namespace kv
