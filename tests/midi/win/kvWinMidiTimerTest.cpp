// The player on the real multimedia timer and hidden window, under the interface thread's loop.
#include "midi/kvMidiPlayer.h"
#include "midi/win/kvWinMidiTimer.h"

#include "midi/kvMidiPlayerTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

using test::AddTrack;
using test::NoteOff;
using test::NoteOn;

// Dispatches messages until done() holds or the time is up. The deadlines only catch a wait that
// never ends: they hold on a loaded machine, and a passing test never waits for them.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return true;
}

TEST(WinMidiTimerTest, CallbackPostsTheTickToTheWindow)
{
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> received;
    TKVWinMidiTimer timer;
    auto window = timer.AllocateHWnd([&](std::uint32_t msg, std::uintptr_t w, std::intptr_t l) {
        EXPECT_EQ(msg, 1151u);
        received.emplace_back(w, l);
    });
    MidiTimerCallback(7, 0, static_cast<DWORD_PTR>(window->Handle()), 11, 22);
    ASSERT_TRUE(PumpUntil([&] { return !received.empty(); }, 30000));
    EXPECT_EQ(received, (std::vector<std::pair<std::uintptr_t, std::intptr_t>>{{11, 22}}));
}

// Runs the queue until it is empty, as an interface loop does between waits; false when it was
// still not empty after LimitMs.
bool EmptyQueueWithin(DWORD LimitMs)
{
    const DWORD start = GetTickCount();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
        if (GetTickCount() - start > LimitMs) return false;
    }
    return true;
}

TEST(WinMidiTimerTest, TicksPostedWhileOneIsHandledAreDroppedAndLaterOnesArrive)
{
    TKVWinMidiTimer timer;
    int handled = 0;
    HWND handle = nullptr;
    auto window = timer.AllocateHWnd([&](std::uint32_t, std::uintptr_t, std::intptr_t) {
        // The timer goes on posting while a slow tick runs.
        if (++handled == 1)
            for (int i = 0; i < 3; ++i) MidiTimerCallback(7, 0, reinterpret_cast<DWORD_PTR>(handle), 0, 0);
    });
    handle = reinterpret_cast<HWND>(window->Handle());
    MidiTimerCallback(7, 0, reinterpret_cast<DWORD_PTR>(handle), 0, 0);
    ASSERT_TRUE(EmptyQueueWithin(30000));
    EXPECT_EQ(handled, 1);
    MidiTimerCallback(7, 0, reinterpret_cast<DWORD_PTR>(handle), 0, 0);
    ASSERT_TRUE(EmptyQueueWithin(30000));
    EXPECT_EQ(handled, 2);
}

TEST(WinMidiTimerTest, TicksSlowerThanThePeriodLeaveTheQueueEmptyBetweenThem)
{
    TKVWinMidiTimer timer;
    int handled = 0;
    auto window = timer.AllocateHWnd([&](std::uint32_t, std::uintptr_t, std::intptr_t) {
        ++handled;
        Sleep(20); // a tick that takes ten periods, as on a slow machine
    });
    const std::uint32_t id = timer.SetEvent(2, 2, *window);
    ASSERT_NE(id, 0u);
    // One message at a time: a loop that empties the queue is what is under test.
    const DWORD start = GetTickCount();
    while (handled == 0 && GetTickCount() - start < 30000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    ASSERT_GT(handled, 0);
    // Without dropping the ticks queued meanwhile, each tick finds ten more waiting and the
    // queue never runs empty.
    EXPECT_TRUE(EmptyQueueWithin(2000));
    timer.KillEvent(id);
    PumpUntil([] { return false; }, 50);
}

TEST(WinMidiTimerTest, PlaysASongToItsEndOnTheSystemTimer)
{
    TKVMidiFile song(nullptr);
    test::SetPulses(song, 480);
    std::vector<test::Timed> notes;
    for (int i = 0; i < 8; ++i) {
        notes.push_back({i * 48, NoteOn(60 + i, 0)});
        notes.push_back({i * 48 + 24, NoteOff(60 + i, 0)});
    }
    notes.push_back({400, test::EndOfTrack()});
    AddTrack(song, std::move(notes));

    TKVMidiPlayer player(nullptr);
    player.SetMidiFile(&song);
    std::vector<int> starts;
    bool ended = false;
    player.OnMidiEvent = [&](TKVMidiEvent* e) { starts.push_back(e->StartTime()); };
    player.OnReadyEvent = [&](int) {
        ended = true;
        player.Stop();
    };
    player.Play();
    EXPECT_GT(player.TimerPeriod(), 0);
    ASSERT_TRUE(PumpUntil([&] { return ended; }, 30000)) << "the timer never brought the song to its end";
    EXPECT_EQ(player.Status(), stStop);
    ASSERT_EQ(starts.size(), 17u);
    for (std::size_t i = 1; i < starts.size(); ++i) EXPECT_LE(starts[i - 1], starts[i]);
    // Ticks already posted by the stopped timer arrive harmlessly.
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(starts.size(), 17u);
}

} // namespace
} // namespace kv
