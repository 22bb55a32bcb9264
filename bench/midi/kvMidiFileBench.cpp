// Reading and writing songs: the largest MIDI file of the installed packages and a generated
// file of one million events.
#include "midi/kvMidiFile.h"

#include "base/Conversions.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

namespace {

std::string LargestCorpusFile()
{
    std::string listing;
    if (FILE* pipe = popen("dpkg -L openttd-openmsx planetblupi-music-midi mma 2>/dev/null", "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) listing.append(buffer, n);
        pclose(pipe);
    }
    std::istringstream lines(listing);
    std::string largest;
    std::uintmax_t largestSize = 0;
    for (std::string line; std::getline(lines, line);) {
        const std::string ext = kv::LowerCase(kv::ExtractFileExt(line));
        if (ext != ".mid" && ext != ".midi" && ext != ".kar") continue;
        const std::uintmax_t size = std::filesystem::file_size(line);
        if (size > largestSize) {
            largest = line;
            largestSize = size;
        }
    }
    return largest;
}

// Sixteen tracks of notes, each note an on and an off event: Events events in all.
void GenerateSong(kv::TMemoryStream& stream, int Events)
{
    kv::TKVMidiFile song(nullptr);
    song.SetMidiHeader({kv::ftMultiSynch, 16, 480});
    for (int t = 0; t < 16; ++t) {
        auto track = std::make_unique<kv::TMyMidiTrack>();
        for (int i = 0; i < Events / 32; ++i) {
            for (int status : {0x90, 0x80}) {
                auto event = std::make_unique<kv::TKVMidiEvent>();
                event->SetEvent(static_cast<std::uint8_t>(status + t));
                event->SetData1(static_cast<std::uint8_t>(36 + (i * 7 + t) % 60));
                event->SetData2(status == 0x90 ? 100 : 0);
                event->SetDeltaTime(status == 0x90 ? 10 : 110);
                track->PutEvent(std::move(event));
            }
        }
        song.SetTrack(std::move(track));
    }
    song.WriteFile(stream);
}

int EventCount(const kv::TKVMidiFile& song)
{
    int count = 0;
    for (int t = 0; t < song.TrackCount(); ++t) count += song.GetTrack(t)->TrackEventCount();
    return count;
}

void Read(benchmark::State& state, kv::TMemoryStream& stream)
{
    int events = 0;
    for (auto _ : state) {
        kv::TKVMidiFile song(nullptr);
        song.ReadFile(stream);
        events = EventCount(song);
        benchmark::DoNotOptimize(events);
    }
    state.SetBytesProcessed(state.iterations() * stream.Size());
    state.SetItemsProcessed(state.iterations() * events);
    state.counters["events"] = events;
}

void Write(benchmark::State& state, kv::TMemoryStream& stream)
{
    kv::TKVMidiFile song(nullptr);
    song.ReadFile(stream);
    const int events = EventCount(song);
    kv::TMemoryStream written;
    for (auto _ : state) {
        song.WriteFile(written);
        benchmark::DoNotOptimize(written.Memory());
    }
    state.SetBytesProcessed(state.iterations() * written.Size());
    state.SetItemsProcessed(state.iterations() * events);
}

bool LoadLargest(benchmark::State& state, kv::TMemoryStream& stream)
{
    const std::string file = LargestCorpusFile();
    if (file.empty()) {
        state.SkipWithError("no MIDI files installed: run scripts/setup");
        return false;
    }
    stream.LoadFromFile(file);
    state.SetLabel(file);
    return true;
}

void BM_ReadLargestCorpusFile(benchmark::State& state)
{
    kv::TMemoryStream stream;
    if (LoadLargest(state, stream)) Read(state, stream);
}

void BM_WriteLargestCorpusFile(benchmark::State& state)
{
    kv::TMemoryStream stream;
    if (LoadLargest(state, stream)) Write(state, stream);
}

void BM_ReadMillionEvents(benchmark::State& state)
{
    kv::TMemoryStream stream;
    GenerateSong(stream, 1000000);
    Read(state, stream);
}

void BM_WriteMillionEvents(benchmark::State& state)
{
    kv::TMemoryStream stream;
    GenerateSong(stream, 1000000);
    Write(state, stream);
}

BENCHMARK(BM_ReadLargestCorpusFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLargestCorpusFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMillionEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteMillionEvents)->Unit(benchmark::kMillisecond);

} // namespace
