// A timing program, run by hand under Wine: plays a song in the real main window, with the
// on-screen piano and the piano roll following it, and prints how late the player hands out the
// song's events (p50, p95, max), the slowest messages its loop handled (a tick that comes during one
// waits for it) and how far its clock drifts from the wall clock. Asserts nothing.
//   playback_timing SONG [SECONDS] [roll|noroll] [FROM]
// (noroll: the piano-roll window stays hidden; FROM: seconds into the song where playing starts)
#include "app/win/fMain.h"
#include "app/win/fOption.h"
#include "app/win/fRoll.h"
#include "gui/win/TApplication.h"
#include "midi/kvMidiTempoMap.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace kv;

namespace {

// The first millisecond at which the song reaches Tick.
std::int64_t DueMs(const TKVTempoMap& Map, std::int32_t Tick)
{
    std::int64_t low = 0, high = 1;
    while (Map.TickAtMs(high) < Tick && high < (1LL << 40)) high *= 2;
    while (low < high) {
        const std::int64_t mid = (low + high) / 2;
        if (Map.TickAtMs(mid) >= Tick) high = mid;
        else low = mid + 1;
    }
    return low;
}

double Percentile(std::vector<double> Values, double P)
{
    if (Values.empty()) return 0;
    std::sort(Values.begin(), Values.end());
    return Values[static_cast<std::size_t>(P * (Values.size() - 1))];
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: playback_timing SONG [SECONDS] [roll|noroll] [FROM]\n");
        return 2;
    }
    const std::string song = WideToUtf8(argv[1]);
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 30;
    InitCommonControlClasses();
    const std::string settings = (std::filesystem::temp_directory_path() / "kv_playback_timing.ini").string();
    auto main = std::make_unique<TfrmMain>(nullptr);
    frmMain = main.get();
    auto options = std::make_unique<TfrmOption>(nullptr, frmMain, settings);
    frmOption = options.get();
    auto roll = std::make_unique<TfrmRoll>(nullptr, frmMain, settings);
    frmRoll = roll.get();
    Application()->OnMessage = [](MSG& m) { return frmMain && frmMain->ApplicationEvents1Message(m); };
    main->Show();
    main->OpenMidiFile(song);
    const bool showRoll = !(argc > 3 && std::wstring(argv[3]) == L"noroll");
    if (showRoll) main->actPianoRoll->Execute();
    for (int i = 0; i < 5; ++i) Application()->ProcessMessages();

    const TKVTempoMap map = TKVTempoMap::FromSong(*main->MidiFile1);
    std::vector<double> lateness;
    std::vector<std::pair<double, double>> clock; // (wall ms, due ms) of each event
    using Clock = std::chrono::steady_clock;
    Clock::time_point start;
    const auto played = main->MidiPlayer1->OnMidiEvent;
    main->MidiPlayer1->OnMidiEvent = [&](TKVMidiEvent* Event) {
        const double now = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const double due = static_cast<double>(DueMs(map, Event->StartTime()));
        lateness.push_back(now - due);
        clock.emplace_back(now, due);
        played(Event);
    };
    // The song's time starts where the player starts its clock: right after the status turns to
    // playing, not when the Play command begins (which first silences every channel).
    const auto statusChanged = main->MidiPlayer1->OnStatusChange;
    main->MidiPlayer1->OnStatusChange = [&](TKVStatus Status) {
        if (statusChanged) statusChanged(Status);
        if (Status == stPlaying) start = Clock::now();
    };
    start = Clock::now();
    main->actPlay->Execute();
    if (const int from = argc > 4 ? _wtoi(argv[4]) : 0; from > 0) {
        // Song time FROM lies now: the seek hands out nothing, the events after it are measured.
        main->MidiPlayer1->SetCurrentTime(map.TickAtMs(std::int64_t{from} * 1000));
        start = Clock::now() - std::chrono::seconds(from);
    }
    // The slowest messages the loop handled: a tick that comes while one is handled waits for it.
    struct TSlowMessage {
        double AtMs, TookMs;
        UINT Message;
        std::string WindowClass;
    };
    std::vector<TSlowMessage> slowest;
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < end && main->MidiPlayer1->Status() == stPlaying) {
        MSG next{};
        if (!PeekMessageW(&next, nullptr, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        const auto before = Clock::now();
        Application()->HandleMessage();
        const double took = std::chrono::duration<double, std::milli>(Clock::now() - before).count();
        if (took < 5.0) continue;
        wchar_t name[64] = {};
        if (next.hwnd) GetClassNameW(next.hwnd, name, 64);
        slowest.push_back({std::chrono::duration<double, std::milli>(before - start).count(), took, next.message,
                           WideToUtf8(name)});
    }
    main->actStop->Execute();
    Application()->OnMessage = nullptr;

    // Drift: the lateness of the last tenth of the events against that of the first tenth.
    const std::size_t tenth = std::max<std::size_t>(1, lateness.size() / 10);
    const std::vector<double> first(lateness.begin(), lateness.begin() + static_cast<std::ptrdiff_t>(std::min(tenth, lateness.size())));
    const std::vector<double> last(lateness.end() - static_cast<std::ptrdiff_t>(std::min(tenth, lateness.size())), lateness.end());
    std::printf("song %s: %zu events in %.1f s, timer period %d ms\n", song.c_str(), lateness.size(),
                clock.empty() ? 0.0 : clock.back().first / 1000.0, main->MidiPlayer1->TimerPeriod());
    const auto latest = std::max_element(lateness.begin(), lateness.end());
    std::printf("lateness ms: p50 %.2f  p95 %.2f  max %.2f (at %.2f s)\n", Percentile(lateness, 0.5), Percentile(lateness, 0.95),
                lateness.empty() ? 0.0 : *latest,
                lateness.empty() ? 0.0 : clock[static_cast<std::size_t>(latest - lateness.begin())].first / 1000.0);
    std::sort(slowest.begin(), slowest.end(), [](const auto& a, const auto& b) { return a.TookMs > b.TookMs; });
    if (slowest.size() > 10) slowest.resize(10);
    for (const TSlowMessage& m : slowest)
        std::printf("slow message 0x%04X to %s at %.2f s took %.2f ms\n", m.Message, m.WindowClass.c_str(), m.AtMs / 1000.0,
                    m.TookMs);
    std::printf("drift ms (median lateness, last tenth - first tenth): %.2f\n", Percentile(last, 0.5) - Percentile(first, 0.5));
    roll.reset();
    frmRoll = nullptr;
    options.reset();
    main.reset();
    std::error_code ignored;
    std::filesystem::remove(settings, ignored);
    return 0;
}
