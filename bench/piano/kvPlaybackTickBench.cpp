// One tick of playback with the piano roll following, as the main window runs it: the player
// hands out the due events, then the roll's cursor moves and the roll decides what its next
// paint lights. The song is a base song of 16 tracks (about 56,000 events) repeated 1 to 4 times,
// played from its middle, so that a cost that grows with the song's size shows as a growing time
// per tick. Run it under callgrind for counts that a busy machine does not disturb:
//   valgrind --tool=callgrind --toggle-collect='kv::TKVMidiPlayer::PlayerWndProc(unsigned int, unsigned long, long)'
//     build/bench/bench/piano_bench --benchmark_filter=Following --benchmark_min_time=0.2
// and divide the instructions by the calls of PlayerWndProc.
#include "base/Rounding.h"
#include "base/TMemoryStream.h"
#include "midi/kvManualMidiTimer.h"
#include "midi/kvMidiPlayer.h"
#include "piano/kvPianoRollCore.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

namespace kv {
namespace {

constexpr int Tracks = 16;
constexpr int NotesPerTrack = 1750; // 2 events a note: 56,000 events a copy
constexpr int NoteSpacing = 120;    // ticks between the notes of a track
constexpr int NoteLength = 100;

void VarLen(std::string& Out, std::uint32_t Value)
{
    std::string bytes(1, static_cast<char>(Value & 0x7F));
    while (Value >>= 7) bytes.insert(bytes.begin(), static_cast<char>(0x80 | (Value & 0x7F)));
    Out += bytes;
}

void Big(std::string& Out, std::uint32_t Value, int Size)
{
    for (int shift = 8 * (Size - 1); shift >= 0; shift -= 8) Out += static_cast<char>((Value >> shift) & 0xFF);
}

// The base song repeated Copies times, as read from its file.
std::unique_ptr<TKVMidiFile> RepeatedSong(int Copies)
{
    std::string file = "MThd";
    Big(file, 6, 4);
    Big(file, 1, 2);
    Big(file, Tracks, 2);
    Big(file, 480, 2);
    for (int t = 0; t < Tracks; ++t) {
        std::string body;
        bool first = true;
        for (int copy = 0; copy < Copies; ++copy)
            for (int n = 0; n < NotesPerTrack; ++n) {
                const auto pitch = static_cast<char>(36 + (t * 5 + n * 7) % 60);
                const auto status = static_cast<char>(t % 16);
                VarLen(body, first ? static_cast<std::uint32_t>(t) : NoteSpacing - NoteLength);
                first = false;
                body += static_cast<char>(0x90 | status);
                body += pitch;
                body += static_cast<char>(100);
                VarLen(body, NoteLength);
                body += static_cast<char>(0x80 | status);
                body += pitch;
                body += static_cast<char>(64);
            }
        VarLen(body, 1);
        body += "\xFF\x2F";
        body += '\0';
        file += "MTrk";
        Big(file, static_cast<std::uint32_t>(body.size()), 4);
        file += body;
    }
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
    auto song = std::make_unique<TKVMidiFile>(nullptr);
    song->ReadFile(stream);
    return song;
}

void BM_TickWithTheRollFollowing(benchmark::State& state)
{
    static std::map<int, std::unique_ptr<TKVMidiFile>> songs;
    const int copies = static_cast<int>(state.range(0));
    auto& song = songs[copies];
    if (!song) song = RepeatedSong(copies);
    test::TManualMidiTimer timer;
    TKVMidiPlayer player(nullptr, timer);
    player.SetMidiFile(song.get());
    TKVPianoRollCore roll;
    roll.SetPaintBoxSize(900, 300);
    roll.SetMidiFile(song.get());
    roll.PaintPass(); // the roll paints the song as soon as it is opened
    std::int64_t handedOut = 0;
    player.OnMidiEvent = [&](TKVMidiEvent* Event) { handedOut += Event->Data1(); };
    player.OnUpdateEvent = [&](TObject*, std::uint32_t) {
        roll.SetCurrentTime(static_cast<std::int32_t>(Round(player.CurrentTime())));
        benchmark::DoNotOptimize(roll.PaintPass());
    };
    const double middle = song->MidiLength() / 2.0;
    const auto start = [&] {
        player.Play();
        player.SetCurrentTime(middle);
    };
    start();
    for (auto _ : state) {
        timer.Tick(10);
        if (player.Status() != stPlaying || player.CurrentTime() > middle + 100000) {
            state.PauseTiming();
            player.Stop();
            start();
            state.ResumeTiming();
        }
    }
    player.Stop();
    benchmark::DoNotOptimize(handedOut);
    state.counters["events"] = static_cast<double>(copies) * Tracks * NotesPerTrack * 2;
}
BENCHMARK(BM_TickWithTheRollFollowing)->Arg(1)->Arg(4);

} // namespace
} // namespace kv
