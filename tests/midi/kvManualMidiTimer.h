#pragma once
// A stand-in for the system's time services: a clock the test sets, timers that fire only when
// the test says so, and hidden windows whose posted messages wait in a queue until the test
// delivers them. Every call into the timer is logged, so tests can check that each timer and
// each period is begun and ended exactly once.
#include "midi/kvMidiTimer.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kv::test {

class TManualMidiTimer : public TKVMidiTimer {
public:
    class Window : public TKVMessageWindow {
    public:
        Window(TManualMidiTimer& owner, TKVWndMethod method) : FOwner(owner), FMethod(std::move(method)) {}
        ~Window() override { FOwner.Forget(this); }
        std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(this); }
        void Receive(std::uint32_t msg) { FMethod(msg, 0, 0); }

    private:
        TManualMidiTimer& FOwner;
        TKVWndMethod FMethod;
    };

    // Capabilities reported to the player; nothing makes GetDevCaps fail.
    std::optional<TKVTimerCaps> Caps = TKVTimerCaps{1, 1000000};
    // When false, SetEvent fails (returns 0).
    bool CanStart = true;
    std::vector<std::string> Calls;

    std::optional<TKVTimerCaps> GetDevCaps() override { return Caps; }
    void BeginPeriod(std::uint32_t Period) override
    {
        Calls.push_back("BeginPeriod " + std::to_string(Period));
        ++FPeriodsBegun;
    }
    void EndPeriod(std::uint32_t Period) override
    {
        Calls.push_back("EndPeriod " + std::to_string(Period));
        --FPeriodsBegun;
    }
    std::uint32_t SetEvent(std::uint32_t Delay, std::uint32_t, const TKVMessageWindow& Target) override
    {
        Calls.push_back("SetEvent " + std::to_string(Delay));
        if (!CanStart) return 0;
        const std::uint32_t id = ++FLastId;
        FRunning[id] = Target.Handle();
        return id;
    }
    void KillEvent(std::uint32_t TimerID) override
    {
        Calls.push_back("KillEvent " + std::to_string(TimerID));
        FRunning.erase(TimerID);
    }
    std::uint32_t GetTickCount() override { return FNow.load(); }
    std::unique_ptr<TKVMessageWindow> AllocateHWnd(TKVWndMethod Method) override
    {
        auto window = std::make_unique<Window>(*this, std::move(Method));
        FWindows.push_back(window.get());
        return window;
    }

    void SetNow(std::uint32_t Ms) { FNow = Ms; }
    std::uint32_t Now() const { return FNow.load(); }
    // Each running timer posts one message to its window.
    void Fire()
    {
        for (const auto& [id, window] : FRunning) FPosted.emplace_back(window, WM_MIDITIMER);
    }
    // Delivers the posted messages to the windows that still exist.
    void Deliver()
    {
        while (!FPosted.empty()) {
            const auto [handle, msg] = FPosted.front();
            FPosted.pop_front();
            for (Window* window : FWindows)
                if (window->Handle() == handle) window->Receive(msg);
        }
    }
    // Moves the clock on by Ms, fires and delivers: one tick of the player.
    void Tick(std::uint32_t Ms)
    {
        FNow += Ms;
        Fire();
        Deliver();
    }
    // Runs ticks of Step milliseconds until Ms have passed.
    void Run(std::uint32_t Ms, std::uint32_t Step = 10)
    {
        for (std::uint32_t passed = 0; passed < Ms; passed += Step) Tick(Step);
    }

    int RunningTimers() const { return static_cast<int>(FRunning.size()); }
    int PeriodsBegun() const { return FPeriodsBegun; }
    int Windows() const { return static_cast<int>(FWindows.size()); }

private:
    void Forget(Window* window) { std::erase(FWindows, window); }

    std::atomic<std::uint32_t> FNow{0};
    std::uint32_t FLastId = 0;
    std::map<std::uint32_t, std::uintptr_t> FRunning;
    std::vector<Window*> FWindows;
    std::deque<std::pair<std::uintptr_t, std::uint32_t>> FPosted;
    int FPeriodsBegun = 0;
};

} // namespace kv::test
