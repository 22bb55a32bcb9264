// The player on a manual clock: position, due events, chase, pause and continue, the timer's
// period and its balance, failures inside a tick.
#include "midi/kvMidiPlayer.h"

#include "base/ExceptionHandler.h"
#include "base/Exceptions.h"
#include "midi/kvManualMidiTimer.h"
#include "midi/kvMidiPlayerTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kv {
namespace {

using test::AddTrack;
using test::Describe;
using test::EndOfTrack;
using test::Meta;
using test::NoteOff;
using test::NoteOn;
using test::Tempo;
using test::TManualMidiTimer;

class MidiPlayerTest : public ::testing::Test {
protected:
    MidiPlayerTest()
    {
        test::SetPulses(song, 480);
        player.SetMidiFile(&song);
        player.OnMidiEvent = [this](TKVMidiEvent* e) { handedOut.push_back(Describe(*e)); };
        player.OnSpeedChange = [this](int bpm) { speeds.push_back(bpm); };
        player.OnStatusChange = [this](TKVStatus s) { statuses.push_back(s); };
    }

    TManualMidiTimer timer;
    TKVMidiFile song{nullptr};
    TKVMidiPlayer player{nullptr, timer};
    std::vector<std::string> handedOut;
    std::vector<int> speeds;
    std::vector<TKVStatus> statuses;
};

TEST_F(MidiPlayerTest, PositionAfterOneSecond)
{
    struct Case {
        double ratio;
        double ticks;
    };
    for (const Case c : {Case{1.0, 960.0}, Case{0.5, 480.0}, Case{2.0, 1920.0}}) {
        player.SetSpeedRatio(c.ratio);
        player.Play();
        timer.Run(1000);
        EXPECT_NEAR(player.CurrentTime(), c.ticks, 1e-6) << c.ratio;
        EXPECT_EQ(player.Speed(), 120) << "no tempo event: the file format's default";
        player.Stop();
    }
}

TEST_F(MidiPlayerTest, EventIsDueOnlyOnceItsTickLiesBelowTheRoundedPosition)
{
    test::SetPulses(song, 250); // 2 ms per tick at 120 bpm
    std::vector<test::Timed> events;
    events.push_back({0, NoteOn(60, 0)});
    events.push_back({1, NoteOn(61, 0)});
    events.push_back({2, NoteOn(62, 0)});
    AddTrack(song, std::move(events));
    player.Play();
    EXPECT_TRUE(handedOut.empty()) << "Play itself hands nothing out";
    struct Step {
        std::uint32_t ms;       // clock after the tick
        std::size_t handedOut;  // position ms / 2, rounded half to even
    };
    for (const Step s : {Step{1, 0}, Step{2, 1}, Step{3, 2}, Step{5, 2}, Step{6, 3}}) {
        timer.Tick(s.ms - timer.Now());
        EXPECT_EQ(handedOut.size(), s.handedOut) << "at " << s.ms << " ms";
    }
}

TEST_F(MidiPlayerTest, DueEventsGoOutTrackByTrack)
{
    std::vector<test::Timed> first;
    first.push_back({50, NoteOn(60, 0)});
    first.push_back({90, NoteOff(60, 0)});
    AddTrack(song, std::move(first));
    std::vector<test::Timed> second;
    second.push_back({10, NoteOn(70, 0)});
    second.push_back({80, NoteOff(70, 0)});
    AddTrack(song, std::move(second));
    player.Play();
    timer.Tick(100);
    EXPECT_EQ(handedOut, (std::vector<std::string>{"50:144:60", "90:128:60", "10:144:70", "80:128:70"}));
}

TEST_F(MidiPlayerTest, InactiveTrackStillChangesTheTempo)
{
    std::vector<test::Timed> conductor;
    conductor.push_back({0, Tempo(60)});
    conductor.push_back({0, NoteOn(40, 0)});
    AddTrack(song, std::move(conductor)).SetActive(false);
    std::vector<test::Timed> melody;
    melody.push_back({0, NoteOn(60, 0)});
    AddTrack(song, std::move(melody));
    player.Play();
    timer.Tick(10);
    EXPECT_EQ(player.Speed(), 60);
    EXPECT_EQ(speeds, std::vector<int>{60});
    EXPECT_EQ(handedOut, std::vector<std::string>{"0:144:60"});
    // From now on the position moves at 60 bpm: 480 ticks a second.
    const double before = player.CurrentTime();
    timer.Run(1000);
    EXPECT_NEAR(player.CurrentTime() - before, 480.0, 1e-6);
}

TEST_F(MidiPlayerTest, SeekBackChasesTheStateWithoutSounding)
{
    std::vector<test::Timed> conductor;
    conductor.push_back({0, Tempo(100)});
    conductor.push_back({0, Meta(0x58, test::Bytes({3, 2, 24, 8}))});
    conductor.push_back({1000, Tempo(200)});
    conductor.push_back({1000, Meta(0x58, test::Bytes({6, 3, 24, 8}))});
    AddTrack(song, std::move(conductor));
    std::vector<test::Timed> melody;
    melody.push_back({100, NoteOn(60, 0)});
    melody.push_back({600, NoteOn(62, 0)});
    melody.push_back({1500, NoteOn(64, 0)});
    AddTrack(song, std::move(melody));
    std::vector<std::string> meters;
    player.OnMeterChange = [&](const std::string& m) { meters.push_back(m); };

    player.Play();
    timer.Run(2000);
    ASSERT_EQ(player.Speed(), 200);
    ASSERT_EQ(player.Meter(), "6/8");
    handedOut.clear();
    speeds.clear();
    meters.clear();

    player.SetCurrentTime(500); // to the millisecond: 0.625 ms per tick at 200 bpm
    EXPECT_NEAR(player.CurrentTime(), 500.0, 1.0);
    EXPECT_TRUE(handedOut.empty()) << "chasing sounds nothing";
    EXPECT_EQ(player.Speed(), 100);
    EXPECT_EQ(player.Meter(), "3/4");
    EXPECT_EQ(speeds, (std::vector<int>{120, 100}));
    EXPECT_EQ(meters, (std::vector<std::string>{"4/4", "3/4"}));
    EXPECT_FALSE(song.GetTrack(0)->TrackEnd());

    timer.Tick(10);
    EXPECT_TRUE(handedOut.empty()) << "the note at 100 lies behind the new position";
    timer.Run(200); // 1.25 ms per tick at 100 bpm: about tick 660
    EXPECT_EQ(handedOut, std::vector<std::string>{"600:144:62"});
}

TEST_F(MidiPlayerTest, SeekBackAfterSpeedChangeNeverJumps)
{
    timer.SetNow(0xFFFFF000u); // the tick count wraps during the song
    AddTrack(song, {});
    player.SetSpeedRatio(2.0);
    player.Play();
    timer.Run(10000);
    ASSERT_NEAR(player.CurrentTime(), 19200.0, 1e-6);

    player.SetSpeedRatio(0.5); // the seek's milliseconds now lie before the song's start
    player.SetCurrentTime(0);
    EXPECT_NEAR(player.CurrentTime(), 0.0, 0.5);
    timer.Tick(10);
    EXPECT_NEAR(player.CurrentTime(), 4.8, 0.5);

    player.SetSpeedRatio(1.0);
    player.SetCurrentTime(9600);
    EXPECT_NEAR(player.CurrentTime(), 9600.0, 0.5);
    timer.Tick(1000);
    EXPECT_NEAR(player.CurrentTime(), 10560.0, 0.5);
}

TEST_F(MidiPlayerTest, SeekLandingOnMillisecondZeroKeepsItsTick)
{
    AddTrack(song, {});
    player.SetSpeedRatio(2.0);
    player.Play();
    timer.Run(1000); // 1920 ticks
    player.SetSpeedRatio(1.0);
    player.SetCurrentTime(960); // 1000 ms back at the new speed: exactly millisecond 0
    EXPECT_NEAR(player.CurrentTime(), 960.0, 0.5);
}

TEST_F(MidiPlayerTest, PauseAndContinueKeepThePosition)
{
    std::vector<test::Timed> melody;
    melody.push_back({240, NoteOn(60, 0)});
    melody.push_back({720, NoteOn(62, 0)});
    AddTrack(song, std::move(melody));
    for (auto pauseWith : {&TKVMidiPlayer::Pause, &TKVMidiPlayer::Stop}) {
        handedOut.clear();
        player.Play();
        timer.Run(500);
        (player.*pauseWith)();
        const double paused = player.CurrentTime();
        timer.SetNow(timer.Now() + 5000);
        timer.Tick(10); // the timer is gone: nothing moves
        EXPECT_EQ(player.CurrentTime(), paused);
        player.ContinuePlaying();
        EXPECT_EQ(player.CurrentTime(), paused);
        timer.Run(300);
        EXPECT_NEAR(player.CurrentTime(), paused + 288.0, 1e-6);
        EXPECT_EQ(handedOut, (std::vector<std::string>{"240:144:60", "720:144:62"}));
        player.Stop();
    }
    player.Play();
    EXPECT_EQ(player.CurrentTime(), 0.0) << "Play starts at the beginning";
}

TEST_F(MidiPlayerTest, NewSongDoesNotInheritTheTempo)
{
    std::vector<test::Timed> slow;
    slow.push_back({0, Tempo(60)});
    AddTrack(song, std::move(slow));
    player.Play();
    timer.Tick(10);
    ASSERT_EQ(player.Speed(), 60);
    player.Stop();

    TKVMidiFile second(nullptr);
    test::SetPulses(second, 480);
    std::vector<test::Timed> notes;
    notes.push_back({0, NoteOn(60, 0)});
    AddTrack(second, std::move(notes));
    player.SetMidiFile(&second);
    speeds.clear();
    player.Play();
    EXPECT_EQ(player.Speed(), 120);
    EXPECT_EQ(speeds, std::vector<int>{120});
    timer.Run(1000);
    EXPECT_NEAR(player.CurrentTime(), 960.0, 1e-6);
}

TEST_F(MidiPlayerTest, SongWithoutPulsesCannotStart)
{
    AddTrack(song, {});
    song.SetFileName("broken.mid");
    const std::vector<std::function<void()>> starts = {
        [&] { player.Play(); }, [&] { player.ContinuePlaying(); }, [&] { player.StartRecording(); },
        [&] { player.ContinueRecording(); }};
    for (int ppq : {0, -1}) {
        test::SetPulses(song, ppq);
        for (const auto& start : starts) {
            try {
                start();
                ADD_FAILURE() << "started with " << ppq << " pulses per quarter note";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), "Cannot play the song \"broken.mid\": its pulses per quarter note are " +
                                           std::to_string(ppq) + ".");
            }
            EXPECT_EQ(player.Status(), stReady);
        }
        EXPECT_THROW(player.SetCurrentTime(100), Exception);
    }
    EXPECT_TRUE(statuses.empty());
    EXPECT_TRUE(timer.Calls.empty());
}

TEST_F(MidiPlayerTest, TimerPeriodRule)
{
    struct Case {
        std::optional<TKVTimerCaps> caps;
        std::uint32_t period;
    };
    const Case cases[] = {
        {TKVTimerCaps{1, 1000000}, 10}, {TKVTimerCaps{10, 10}, 10}, {TKVTimerCaps{16, 1000000}, 16},
        {TKVTimerCaps{1, 5}, 5},        {TKVTimerCaps{11, 5}, 11},  {std::nullopt, 10},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TimerPeriodFor(c.caps), c.period);
        timer.Caps = c.caps;
        timer.Calls.clear();
        player.Play();
        player.Stop();
        const std::string p = std::to_string(c.period);
        EXPECT_EQ(timer.Calls, (std::vector<std::string>{"BeginPeriod " + p, "SetEvent " + p,
                                                          "KillEvent " + timer.Calls[2].substr(10), "EndPeriod " + p}));
        EXPECT_EQ(player.TimerPeriod(), static_cast<std::int32_t>(c.period));
    }
}

TEST(MidiPlayerTimerTest, TimersAndPeriodsBalancedInEverySequence)
{
    using Op = void (TKVMidiPlayer::*)();
    struct Case {
        const char* name;
        std::vector<Op> ops;
    };
    const Case cases[] = {
        {"play, destroy", {&TKVMidiPlayer::Play}},
        {"play twice", {&TKVMidiPlayer::Play, &TKVMidiPlayer::Play}},
        {"play, pause, stop", {&TKVMidiPlayer::Play, &TKVMidiPlayer::Pause, &TKVMidiPlayer::Stop}},
        {"play, pause, continue, stop",
         {&TKVMidiPlayer::Play, &TKVMidiPlayer::Pause, &TKVMidiPlayer::ContinuePlaying, &TKVMidiPlayer::Stop}},
        {"play, stop, stop", {&TKVMidiPlayer::Play, &TKVMidiPlayer::Stop, &TKVMidiPlayer::Stop}},
        {"continue while playing", {&TKVMidiPlayer::Play, &TKVMidiPlayer::ContinuePlaying}},
        {"record, pause, continue, destroy",
         {&TKVMidiPlayer::StartRecording, &TKVMidiPlayer::Pause, &TKVMidiPlayer::ContinueRecording}},
        {"stop without start", {&TKVMidiPlayer::Stop}},
    };
    for (bool canStart : {true, false}) {
        for (const Case& c : cases) {
            TManualMidiTimer timer;
            timer.CanStart = canStart;
            TKVMidiFile song(nullptr);
            test::SetPulses(song, 480);
            {
                TKVMidiPlayer player(nullptr, timer);
                player.SetMidiFile(&song);
                for (Op op : c.ops) {
                    (player.*op)();
                    EXPECT_LE(timer.RunningTimers(), 1) << c.name;
                    EXPECT_LE(timer.PeriodsBegun(), 1) << c.name;
                }
            }
            EXPECT_EQ(timer.RunningTimers(), 0) << c.name;
            EXPECT_EQ(timer.PeriodsBegun(), 0) << c.name;
            EXPECT_EQ(timer.Windows(), 0) << c.name;
            int sets = 0, kills = 0;
            for (const std::string& call : timer.Calls) {
                sets += call.starts_with("SetEvent");
                kills += call.starts_with("KillEvent");
            }
            EXPECT_EQ(kills, canStart ? sets : 0) << c.name;
        }
    }
}

TEST_F(MidiPlayerTest, TicksAfterStopDoNothing)
{
    AddTrack(song, {});
    int updates = 0;
    player.OnUpdateEvent = [&](TObject* sender, std::uint32_t) {
        EXPECT_EQ(sender, &player);
        ++updates;
    };
    player.Play();
    timer.Tick(10);
    EXPECT_EQ(updates, 1);
    timer.SetNow(timer.Now() + 10);
    timer.Fire(); // posted before the stop, delivered after it
    player.Stop();
    const double stoppedAt = player.CurrentTime();
    timer.Deliver();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(player.CurrentTime(), stoppedAt);
}

TEST_F(MidiPlayerTest, FailureInATickStopsThePlayerAndIsReported)
{
    std::vector<test::Timed> melody;
    melody.push_back({0, NoteOn(60, 0)});
    melody.push_back({100, NoteOn(62, 0)});
    AddTrack(song, std::move(melody));
    std::vector<std::string> reported;
    SetApplicationExceptionHandler([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const Exception& e) {
            reported.push_back(e.Message());
        }
    });
    player.OnMidiEvent = [](TKVMidiEvent*) { throw Exception("output failed"); };
    player.Play();
    timer.Tick(10);
    SetApplicationExceptionHandler(nullptr);

    EXPECT_EQ(reported, std::vector<std::string>{"output failed"});
    EXPECT_EQ(player.Status(), stStop);
    EXPECT_EQ(statuses, (std::vector<TKVStatus>{stPlaying, stStop}));
    EXPECT_EQ(timer.RunningTimers(), 0);
    EXPECT_EQ(timer.PeriodsBegun(), 0);
}

TEST_F(MidiPlayerTest, EndOfTrackAndVolumeEffects)
{
    std::vector<test::Timed> melody;
    melody.push_back({0, test::MakeEvent(0xB3, 7, 90, 0)});
    melody.push_back({10, EndOfTrack()});
    TMyMidiTrack& track = AddTrack(song, std::move(melody));
    std::vector<std::string> effects;
    player.OnVolumeChange = [&](int channel, int value) {
        effects.push_back("volume " + std::to_string(channel) + " " + std::to_string(value));
    };
    player.OnReadyEvent = [&](int index) { effects.push_back("ready " + std::to_string(index)); };
    player.Play();
    timer.Tick(5);
    EXPECT_FALSE(track.TrackEnd());
    timer.Tick(10);
    EXPECT_TRUE(track.TrackEnd());
    EXPECT_EQ(effects, (std::vector<std::string>{"volume 3 90", "ready 0"}));
    EXPECT_EQ(handedOut, (std::vector<std::string>{"0:179:7", "meta:47"}));
}

TEST_F(MidiPlayerTest, VolumeAndProgramWhileNotRecording)
{
    player.SetVolume(2, 100);
    player.SetPatches(5, 300);
    EXPECT_EQ(handedOut, (std::vector<std::string>{"0:178:7", "0:197:44"}));
    EXPECT_EQ(player.Patches(), 300);
    EXPECT_EQ(song.TrackCount(), 0);
}

TEST(MidiPlayerOwnershipTest, OwnedPlayerEndsItsTimerWithTheOwner)
{
    TManualMidiTimer timer;
    TKVMidiFile song(nullptr);
    test::SetPulses(song, 480);
    {
        TComponent owner(nullptr);
        auto* player = new TKVMidiPlayer(&owner, timer); // freed by its owner
        player->SetMidiFile(&song);
        player->Play();
        EXPECT_EQ(timer.RunningTimers(), 1);
    }
    EXPECT_EQ(timer.RunningTimers(), 0);
    EXPECT_EQ(timer.PeriodsBegun(), 0);
}

TEST_F(MidiPlayerTest, AnEditWhilePlayingNeitherSkipsNorRepeatsEventsNorLeavesANoteSounding)
{
    // One track of quarter notes 60, 61, ... (each note-off at the next note's start); at 1050 ms
    // the position is tick 1008: notes 60 and 61 are over, 62 sounds.
    // Each case edits the track as the roll, the list or the editor would, re-sorts it and tells
    // the song's watchers.
    struct Case {
        const char* what;
        std::function<void(TMyMidiTrack&)> edit;
        std::vector<std::string> after; // handed out after the edit, to the end
    };
    const auto noteOn = [](TMyMidiTrack& track, int pitch) {
        for (int i = 0; i < track.TrackEventCount(); ++i)
            if (track.GetEvent(i)->EventType() == etOn && track.GetEvent(i)->Data1() == pitch) return track.GetEvent(i);
        return static_cast<TKVMidiEvent*>(nullptr);
    };
    const Case cases[] = {
        {"a note played before is deleted",
         [&](TMyMidiTrack& t) { t.DelEvent(noteOn(t, 60), true); },
         {"1440:128:62", "1440:144:63", "1920:128:63", "meta:47"}},
        {"a later note is moved before the position",
         [&](TMyMidiTrack& t) {
             TKVMidiEvent* on = noteOn(t, 63);
             on->SetStartTime(100);
             on->RelatedEvent()->SetStartTime(200);
         },
         {"1440:128:62", "meta:47"}},
        {"the sounding note is deleted: it ends at once",
         [&](TMyMidiTrack& t) { t.DelEvent(noteOn(t, 62), true); },
         {"0:128:62", "1440:144:63", "1920:128:63", "meta:47"}},
        {"the sounding note's end is moved before the position: it ends at once",
         [&](TMyMidiTrack& t) { noteOn(t, 62)->RelatedEvent()->SetStartTime(500); },
         {"0:128:62", "1440:144:63", "1920:128:63", "meta:47"}},
        {"a played note is moved after the position: it sounds again there",
         [&](TMyMidiTrack& t) {
             TKVMidiEvent* on = noteOn(t, 60);
             on->SetStartTime(1600);
             on->RelatedEvent()->SetStartTime(1700);
         },
         {"1440:128:62", "1440:144:63", "1600:144:60", "1700:128:60", "1920:128:63", "meta:47"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        song.ResetFile();
        test::SetPulses(song, 480);
        std::vector<test::Timed> events;
        for (int n = 0; n < 4; ++n) {
            events.push_back({n * 480, NoteOn(60 + n, 0)});
            events.push_back({(n + 1) * 480, NoteOff(60 + n, 0)});
        }
        events.push_back({1920, EndOfTrack()});
        TMyMidiTrack& track = AddTrack(song, std::move(events));
        track.CalcOffEvents();
        player.Play();
        timer.Run(1050);
        ASSERT_EQ(handedOut, (std::vector<std::string>{"0:144:60", "480:128:60", "480:144:61", "960:128:61", "960:144:62"}));
        handedOut.clear();
        c.edit(track);
        track.UpdateDeltaTime();
        song.Watchers().EventsChanged(nullptr);
        timer.Run(1100);
        EXPECT_EQ(handedOut, c.after);
        player.Stop();
        handedOut.clear();
    }
}

} // namespace
} // namespace kv
