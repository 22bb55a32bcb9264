#include "gui/win/TTimer.h"

#include "gui/win/TApplication.h"

#include <map>

namespace kv {

namespace {

// Thread timers are told apart by their identifier only.
std::map<UINT_PTR, TTimer*>& RunningTimers()
{
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}

} // namespace

TTimer::~TTimer()
{
    FEnabled = false;
    Update();
}

void TTimer::SetEnabled(bool Value)
{
    FEnabled = Value;
    Update();
}

void TTimer::SetInterval(std::uint32_t Value)
{
    FInterval = Value;
    Update();
}

void TTimer::Update()
{
    if (FId) {
        KillTimer(nullptr, FId);
        RunningTimers().erase(FId);
        FId = 0;
    }
    if (!FEnabled || FInterval == 0) return;
    FId = SetTimer(nullptr, 0, FInterval, &TTimer::TimerProc);
    if (FId) RunningTimers()[FId] = this;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR Id, DWORD)
{
    GuardedCall([Id] {
        auto found = RunningTimers().find(Id);
        if (found != RunningTimers().end() && found->second->OnTimer) found->second->OnTimer(found->second);
    });
}

} // namespace kv
