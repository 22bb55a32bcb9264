// Plays a generated song on the system's multimedia timer into a handler that timestamps every
// event with the performance counter, then prints how late the events came (median, 95th
// percentile, maximum) and how far the song drifted from real time by its end.
//
//   kvMidiPlayerTiming [seconds]     (60 by default)
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiFile.h"
#include "midi/kvMidiPlayer.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using namespace kv;

constexpr int Pulses = 480;
constexpr int Bpm = 120;
constexpr double MsPerTick = 60000.0 / Bpm / Pulses;

std::unique_ptr<TKVMidiEvent> Event(int status, int data1, int data2, int delta)
{
    auto event = std::make_unique<TKVMidiEvent>();
    event->SetEvent(static_cast<std::uint8_t>(status));
    event->SetData1(static_cast<std::uint8_t>(data1));
    event->SetData2(static_cast<std::uint8_t>(data2));
    event->SetDeltaTime(delta);
    return event;
}

// A conductor track, then eighth notes, quarter notes and triplets (whose times fall on every
// phase of the timer period) on channels 0 to 2 for the length.
void BuildSong(TKVMidiFile& song, int seconds)
{
    const int lengthTicks = seconds * 1000 * Pulses / (60000 / Bpm);
    song.CreateTrack("Timing", -1, Bpm, "4/4", "0/0");
    song.GetTrack(0)->PutEndEvent();
    struct Voice {
        int channel, step, note;
    };
    for (const Voice voice : {Voice{0, Pulses / 2, 72}, Voice{1, Pulses, 48}, Voice{2, Pulses / 3, 60}}) {
        auto track = std::make_unique<TMyMidiTrack>();
        for (int tick = 0; tick + voice.step <= lengthTicks; tick += voice.step) {
            track->PutEvent(Event(0x90 + voice.channel, voice.note, 100, tick == 0 ? 0 : voice.step / 2));
            track->PutEvent(Event(0x80 + voice.channel, voice.note, 0, voice.step / 2));
        }
        track->PutEndEvent();
        song.SetTrack(std::move(track));
    }
    song.CreateHeader(Pulses, true);
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

double MedianBetween(const std::vector<std::pair<double, double>>& lateness, double fromMs, double toMs)
{
    std::vector<double> values;
    for (const auto& [expected, late] : lateness)
        if (expected >= fromMs && expected < toMs) values.push_back(late);
    return values.empty() ? 0.0 : Percentile(values, 0.5);
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 60;
    try {
        TKVMidiFile song(nullptr);
        BuildSong(song, seconds);

        LARGE_INTEGER frequency, start, now;
        QueryPerformanceFrequency(&frequency);
        auto elapsedMs = [&] {
            QueryPerformanceCounter(&now);
            return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        };

        std::vector<std::pair<double, double>> lateness; // expected time, lateness (ms)
        lateness.reserve(4 * seconds * 4);
        int tracksEnded = 0;
        TKVMidiPlayer player(nullptr);
        player.SetMidiFile(&song);
        player.OnMidiEvent = [&](TKVMidiEvent* e) {
            if (e->Event() == 0xFF) return;
            const double expected = e->StartTime() * MsPerTick;
            lateness.emplace_back(expected, elapsedMs() - expected);
        };
        player.OnReadyEvent = [&](int) {
            if (++tracksEnded == song.TrackCount()) {
                player.Stop();
                PostQuitMessage(0);
            }
        };
        QueryPerformanceCounter(&start);
        player.Play();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        const double songEndMs = song.MidiLength() * MsPerTick;

        std::vector<double> late;
        for (const auto& entry : lateness) late.push_back(entry.second);
        std::printf("events %zu over %.1f s, timer period %d ms\n", late.size(), songEndMs / 1000.0, player.TimerPeriod());
        std::printf("lateness ms: min %.2f  median %.2f  95th percentile %.2f  max %.2f\n", Percentile(late, 0.0),
                    Percentile(late, 0.5), Percentile(late, 0.95), Percentile(late, 1.0));
        const double share = static_cast<double>(std::count_if(late.begin(), late.end(), [&](double l) {
                                 return l <= player.TimerPeriod() + 2.0;
                             })) / static_cast<double>(late.size());
        std::printf("no later than the period + 2 ms: %.1f%%\n", 100.0 * share);
        std::printf("drift ms (median lateness of the last 5 s minus that of the first 5 s): %.2f\n",
                    MedianBetween(lateness, songEndMs - 5000.0, songEndMs + 1.0) - MedianBetween(lateness, 0.0, 5000.0));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
