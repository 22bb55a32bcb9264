#pragma once
// What the event list and editor tests share: a song holding one event of every kind, and a way
// to act inside a modal window (a thread timer that runs once the window's message loop runs).
#include "app/win/fEvent.h"
#include "gui/win/TApplication.h"
#include "gui/win/TTimer.h"
#include "gui/win/TWinControl.h"
#include "base/TMemoryStream.h"
#include "midi/kvMidiFile.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace kv::test {

inline std::unique_ptr<TKVMidiEvent> ListEvent(int Status, int Data1, int Data2, int Start, std::string Letter = {})
{
    auto e = std::make_unique<TKVMidiEvent>();
    e->SetEvent(static_cast<std::uint8_t>(Status));
    e->SetData1(static_cast<std::uint8_t>(Data1));
    e->SetData2(static_cast<std::uint8_t>(Data2));
    e->SetStartTime(Start);
    e->SetLetter(std::move(Letter));
    return e;
}

inline std::string Bytes(std::initializer_list<int> Values)
{
    std::string s;
    for (int v : Values) s.push_back(static_cast<char>(v));
    return s;
}

// The list fills itself again about a second after it is shown. Tests wait for that fill, so that
// it cannot clear their selection or scroll the list back halfway through a check.
inline void WaitForTheFillAfterShowing(TfrmEvent& List)
{
    const DWORD start = GetTickCount();
    while ((List.TimerUpdate->Enabled() || List.Busy()) && GetTickCount() - start < 10000) {
        Application()->ProcessMessages();
        Sleep(10);
    }
}

// Two tracks at 480 pulses per quarter: track 1 holds the meta events, controllers and a note on
// channel 3 from tick 960 to 1440, track 2 a note on pitch 64 from 0 to 480. The song is read
// back from the bytes it writes, as a song opened from a file is.
inline void FillSongOfEveryKind(TKVMidiFile& Song)
{
    TKVMidiFile made(nullptr);
    auto first = std::make_unique<TMyMidiTrack>();
    first->AddEvent(ListEvent(0xFF, 0x51, 0, 0, Bytes({0x07, 0xA1, 0x20})));
    first->AddEvent(ListEvent(0xFF, 0x58, 0, 0, Bytes({6, 3, 24, 8})));
    first->AddEvent(ListEvent(0xFF, 0x59, 0, 0, Bytes({0xFE, 0})));
    first->AddEvent(ListEvent(0xFF, 0x03, 0, 0, "Piano"));
    first->AddEvent(ListEvent(0xB0, 7, 90, 10));
    first->AddEvent(ListEvent(0xB0, 10, 90, 20));
    first->AddEvent(ListEvent(0xC5, 12, 0, 30));
    first->AddEvent(ListEvent(0xD0, 40, 0, 40));
    first->AddEvent(ListEvent(0xE0, 0, 64, 50));
    first->AddEvent(ListEvent(0xA0, 60, 30, 60));
    first->AddEvent(ListEvent(0xF0, 0, 0, 70));
    first->AddEvent(ListEvent(0xFF, 0x7F, 0, 80));
    first->AddEvent(ListEvent(0x92, 60, 100, 960), ListEvent(0x82, 60, 64, 1440));
    first->AddEvent(ListEvent(0xFF, 0x2F, 0, 1440));
    first->UpdateDeltaTime();
    auto second = std::make_unique<TMyMidiTrack>();
    second->AddEvent(ListEvent(0x90, 64, 100, 0), ListEvent(0x80, 64, 64, 480));
    second->AddEvent(ListEvent(0xFF, 0x2F, 0, 480));
    second->UpdateDeltaTime();
    made.SetTrack(std::move(first));
    made.SetTrack(std::move(second));
    made.CreateHeader(480, true);
    TMemoryStream bytes;
    made.WriteFile(bytes);
    Song.ReadFile(bytes);
}

// A button pressed as a click would press it.
inline void Press(TWinControl* Button) { SendMessageW(Button->Handle(), BM_CLICK, 0, 0); }

inline std::function<void()>& PendingLoopAction()
{
    static std::function<void()> pending;
    return pending;
}

inline void CALLBACK RunPendingLoopAction(HWND, UINT, UINT_PTR Id, DWORD)
{
    KillTimer(nullptr, Id);
    auto action = std::move(PendingLoopAction());
    PendingLoopAction() = nullptr;
    if (action) action();
}

// Runs Action once, from the message loop that runs next (a modal window's included).
inline void RunInMessageLoop(std::function<void()> Action)
{
    PendingLoopAction() = std::move(Action);
    SetTimer(nullptr, 0, 30, RunPendingLoopAction);
}

} // namespace kv::test
