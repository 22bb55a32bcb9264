// One player tick: 64 tracks with nothing due, and 100 events due across 10 tracks.
#include "midi/kvMidiPlayer.h"

#include "midi/kvManualMidiTimer.h"
#include "midi/kvMidiPlayerTestSupport.h"

#include <benchmark/benchmark.h>

namespace kv {
namespace {

using test::AddTrack;
using test::TManualMidiTimer;

void BM_PlayTickNothingDue(benchmark::State& state)
{
    TManualMidiTimer timer;
    TKVMidiFile song(nullptr);
    test::SetPulses(song, 480);
    for (int t = 0; t < 64; ++t) {
        std::vector<test::Timed> far;
        far.push_back({2'000'000'000, test::NoteOn(60, 0)});
        AddTrack(song, std::move(far));
    }
    TKVMidiPlayer player(nullptr, timer);
    player.SetMidiFile(&song);
    int handedOut = 0;
    player.OnMidiEvent = [&](TKVMidiEvent*) { ++handedOut; };
    player.Play();
    for (auto _ : state) timer.Tick(10);
    if (handedOut != 0) state.SkipWithError("an event became due");
}
BENCHMARK(BM_PlayTickNothingDue);

void BM_PlayTickHundredDue(benchmark::State& state)
{
    constexpr int Tracks = 10;
    constexpr int TicksPerTrack = 10000;
    TManualMidiTimer timer;
    TKVMidiFile song(nullptr);
    test::SetPulses(song, 500); // 1 ms per tick at 120 bpm: a 10 ms tick makes 10 events per track due
    for (int t = 0; t < Tracks; ++t) {
        std::vector<test::Timed> dense;
        for (int tick = 0; tick < TicksPerTrack; ++tick) dense.push_back({tick, test::NoteOn(60, 0)});
        AddTrack(song, std::move(dense));
    }
    TKVMidiPlayer player(nullptr, timer);
    player.SetMidiFile(&song);
    std::int64_t handedOut = 0;
    player.OnMidiEvent = [&](TKVMidiEvent* e) { handedOut += e->Data1(); };
    std::int64_t ticks = 0;
    player.Play();
    int ticksLeft = TicksPerTrack / 10;
    for (auto _ : state) {
        if (ticksLeft-- == 0) {
            state.PauseTiming();
            player.Stop();
            player.Play();
            ticksLeft = TicksPerTrack / 10 - 1;
            state.ResumeTiming();
        }
        timer.Tick(10);
        ++ticks;
    }
    benchmark::DoNotOptimize(handedOut);
    if (handedOut != ticks * 100 * 60) state.SkipWithError("not 100 events per tick");
    state.SetItemsProcessed(ticks * 100);
}
BENCHMARK(BM_PlayTickHundredDue);

} // namespace
} // namespace kv
