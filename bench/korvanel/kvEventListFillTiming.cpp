// Timing of the event list under Wine: a song of 200,000 events (100,000 notes over 16 tracks,
// read back from its own bytes as an opened song is) filled into the list, the rows painted while
// scrolling through it, and the MIDI trace taking 40,000 lines. Prints figures, asserts nothing.
//   scripts/with-xvfb build/win64/wine-run.sh build/win64/tools/event_list_timing.exe [runs]
#include "app/win/fEvent.h"
#include "app/win/fMain.h"
#include "base/TMemoryStream.h"
#include "gui/win/TApplication.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using namespace kv;
using Clock = std::chrono::steady_clock;

std::unique_ptr<TKVMidiEvent> Event(int Status, int Data1, int Data2, int Start)
{
    auto e = std::make_unique<TKVMidiEvent>();
    e->SetEvent(static_cast<std::uint8_t>(Status));
    e->SetData1(static_cast<std::uint8_t>(Data1));
    e->SetData2(static_cast<std::uint8_t>(Data2));
    e->SetStartTime(Start);
    return e;
}

// Tracks x Notes notes and each track's end: 2 x Tracks x Notes + Tracks events.
void FillSong(TKVMidiFile& Song, int Tracks, int Notes)
{
    TKVMidiFile made(nullptr);
    for (int t = 0; t < Tracks; ++t) {
        auto track = std::make_unique<TMyMidiTrack>();
        for (int i = 0; i < Notes; ++i)
            track->AddEvent(Event(0x90 | t, 36 + (i * 7 + t) % 60, 100, i * 120), Event(0x80 | t, 36 + (i * 7 + t) % 60, 0, i * 120 + 100));
        track->AddEvent(Event(0xFF, 0x2F, 0, Notes * 120));
        track->UpdateDeltaTime();
        made.SetTrack(std::move(track));
    }
    made.CreateHeader(480, true);
    TMemoryStream bytes;
    made.WriteFile(bytes);
    Song.ReadFile(bytes);
}

double Ms(Clock::duration D) { return std::chrono::duration<double, std::milli>(D).count(); }

double Median(std::vector<double> Values)
{
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    InitCommonControlClasses();
    auto main = std::make_unique<TfrmMain>(nullptr);
    frmMain = main.get();
    main->Show();
    FillSong(*main->MidiFile1, 16, 6250);
    int events = 0;
    for (int t = 0; t < main->MidiFile1->TrackCount(); ++t) events += main->MidiFile1->GetTrack(t)->TrackEventCount();
    main->actMidiEvent->Execute();
    TfrmEvent* list = frmEvent;
    Application()->ProcessMessages();

    std::vector<double> fills, shown;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        list->LoadEventList();
        fills.push_back(Ms(Clock::now() - start));
        UpdateWindow(list->ListView1->Handle());
        shown.push_back(Ms(Clock::now() - start));
    }
    std::printf("song: %d events in %d tracks, %d rows listed\n", events, main->MidiFile1->TrackCount(), list->RowCount());
    std::printf("fill: median %.2f ms over %d runs (min %.2f, max %.2f); with the first paint %.2f ms\n", Median(fills),
                runs, *std::min_element(fills.begin(), fills.end()), *std::max_element(fills.begin(), fills.end()),
                Median(shown));

    // Scrolling: a page further down, painted, 100 times through the list.
    HWND view = list->ListView1->Handle();
    std::vector<double> pages;
    for (int i = 1; i <= 100; ++i) {
        const auto start = Clock::now();
        SendMessageW(view, LVM_ENSUREVISIBLE, static_cast<WPARAM>(static_cast<long long>(i) * list->RowCount() / 101), FALSE);
        UpdateWindow(view);
        pages.push_back(Ms(Clock::now() - start));
    }
    std::printf("scroll and paint a page: median %.2f ms, max %.2f ms over 100 places\n", Median(pages),
                *std::max_element(pages.begin(), pages.end()));

    // The trace: lines appended, then shown; past the limit it starts again.
    const auto traceStart = Clock::now();
    for (int i = 0; i < 40000; ++i) list->UpdateText("Out: 90 3C 64 line " + std::to_string(i));
    const double appended = Ms(Clock::now() - traceStart);
    Application()->ProcessMessages();
    UpdateWindow(list->Memo1->Handle());
    std::printf("trace: 40000 lines appended in %.2f ms, shown after %.2f ms, %d lines kept\n", appended,
                Ms(Clock::now() - traceStart), list->Memo1->Count());
    const auto oneStart = Clock::now();
    list->UpdateText("one more line");
    Application()->ProcessMessages();
    UpdateWindow(list->Memo1->Handle());
    std::printf("trace: one line more on a full log shown after %.3f ms\n", Ms(Clock::now() - oneStart));
    // A live trace: a line every 5 ms for two seconds, the messages handled in between; the time
    // the window spends on them is what the trace costs it.
    double busy = 0;
    const auto liveStart = Clock::now();
    int live = 0;
    while (Clock::now() - liveStart < std::chrono::seconds(2)) {
        list->UpdateText("live line " + std::to_string(live++));
        const auto start = Clock::now();
        Application()->ProcessMessages();
        busy += Ms(Clock::now() - start);
        Sleep(5);
    }
    std::printf("trace: %d live lines in 2 s, the window busy with them %.1f ms (%.1f %%)\n", live, busy,
                busy / 20.0);
    // The same loop without lines: what handling the messages costs anyway.
    double idle = 0;
    const auto idleStart = Clock::now();
    while (Clock::now() - idleStart < std::chrono::seconds(2)) {
        const auto start = Clock::now();
        Application()->ProcessMessages();
        idle += Ms(Clock::now() - start);
        Sleep(5);
    }
    std::printf("same loop without lines: busy %.1f ms (%.1f %%)\n", idle, idle / 20.0);
    main.reset();
    return 0;
}
