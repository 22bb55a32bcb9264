#pragma once
// The time services of the player: the periodic multimedia timer with its period, the system's
// millisecond tick count, and the hidden window that the timer's ticks are posted to.
#include "midi/kvMidiMessageWindow.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace kv {

struct TKVTimerCaps {
    std::uint32_t PeriodMin = 0; // milliseconds
    std::uint32_t PeriodMax = 0;
};

// The period the player asks for: 10 ms unless the timer's limits force another.
std::uint32_t TimerPeriodFor(const std::optional<TKVTimerCaps>& Caps);

class TKVMidiTimer {
public:
    TKVMidiTimer() = default;
    TKVMidiTimer(const TKVMidiTimer&) = delete;
    TKVMidiTimer& operator=(const TKVMidiTimer&) = delete;
    virtual ~TKVMidiTimer() = default;

    // Nothing when the capabilities cannot be read.
    virtual std::optional<TKVTimerCaps> GetDevCaps() = 0;
    virtual void BeginPeriod(std::uint32_t Period) = 0;
    virtual void EndPeriod(std::uint32_t Period) = 0;
    // Starts a periodic timer that posts WM_MIDITIMER to Target every Delay milliseconds;
    // returns its identifier, 0 when it cannot be started.
    virtual std::uint32_t SetEvent(std::uint32_t Delay, std::uint32_t Resolution, const TKVMessageWindow& Target) = 0;
    virtual void KillEvent(std::uint32_t TimerID) = 0;
    // Milliseconds since system start, wrapping at 2^32. Callable from any thread.
    virtual std::uint32_t GetTickCount() = 0;
    // A hidden window owned by the calling thread, whose messages go to Method.
    virtual std::unique_ptr<TKVMessageWindow> AllocateHWnd(TKVWndMethod Method) = 0;
};

#ifdef _WIN32
// The system's multimedia timer, shared by every player of the process.
TKVMidiTimer& SystemMidiTimer();
#endif

} // namespace kv
