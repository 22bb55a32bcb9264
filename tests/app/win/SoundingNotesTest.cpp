// What reaches the instrument from the main window, the options window and the piano-roll window
// over the scripted MIDI fake: every path that can leave a note sounding ends it (the device log
// then holds a note-off, or an All Notes Off on its channel, for every note-on), and the song's
// system-exclusive data, volumes and tempo reach the outputs and the read-out as the song has them.
#include "app/win/KorvanelWindowsFixture.h"
#include "app/win/fMain.h"
#include "app/win/fRecord.h"
#include "app/win/fRoll.h"
#include "midi/kvMidiFileBuilder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

namespace kv {
namespace {


std::uint32_t Packed(int status, int data1, int data2)
{
    return static_cast<std::uint32_t>(status + data1 * 0x100 + data2 * 0x10000);
}

// The notes a device log leaves sounding on output 0, as "<status> <pitch>" in hexadecimal: a
// note-on sounds until a note-off of its channel and pitch, an All Notes Off (controller 123) or
// All Sound Off (120) on its channel, or a reset of the output.
std::vector<std::string> NotesLeftSounding(const std::vector<std::string>& Log)
{
    const std::string shortCall = "midiOutShortMsg(0, $";
    std::vector<int> sounding; // channel x 256 + pitch
    for (const std::string& line : Log) {
        if (line.size() < 4 || line.compare(line.size() - 4, 4, " = 0") != 0) continue; // failed calls sent nothing
        if (line.rfind("midiOutReset(0)", 0) == 0) {
            sounding.clear();
            continue;
        }
        if (line.rfind(shortCall, 0) != 0) continue;
        const auto message = static_cast<std::uint32_t>(std::stoul(line.substr(shortCall.size(), 8), nullptr, 16));
        const int status = message & 0xFF, data1 = (message >> 8) & 0xFF, data2 = (message >> 16) & 0xFF;
        const int channel = status & 0x0F;
        const int kind = status & 0xF0;
        if (kind == 0x90 && data2 > 0) {
            sounding.push_back(channel * 256 + data1);
        } else if (kind == 0x80 || kind == 0x90) {
            const auto it = std::find(sounding.begin(), sounding.end(), channel * 256 + data1);
            if (it != sounding.end()) sounding.erase(it);
        } else if (kind == 0xB0 && (data1 == 123 || data1 == 120)) {
            std::erase_if(sounding, [channel](int note) { return note / 256 == channel; });
        }
    }
    std::vector<std::string> left;
    for (int note : sounding) {
        char text[8];
        std::snprintf(text, sizeof text, "%02X %02X", 0x90 + note / 256, note % 256);
        left.push_back(text);
    }
    return left;
}

// One track, 480 pulses per quarter note at 120 beats per minute: two notes on channel 1 from
// the second beat (0.5 s) for ten seconds.
const std::string HeldNotesTrack = "83 60 91 4C 5E 00 91 4F 51 CB 00 81 4C 40 00 81 4F 40 01 FF 2F 00";

class WithSongs : public test::KorvanelWindows {
public:
    WithSongs() : KorvanelWindows({.FolderPrefix = "kv_sounding_", .Midi = test::TFakeMidi::KeysAndSynth, .Records = true}) {}
    void SetUp() override
    {
        KorvanelWindows::SetUp();
        main->SetBounds(100, 600, main->Width(), main->Height());
        main->Show();
        main->FormShow();
        Pump();
    }
    // A format 1 song of these tracks (each a body in hexadecimal).
    void OpenSong(const std::vector<std::string>& Tracks)
    {
        std::string bytes = test::Header(1, static_cast<int>(Tracks.size()), 480);
        for (const std::string& track : Tracks) bytes += test::Chunk("MTrk", test::Hex(track));
        const std::string path = (folder / "song.mid").string();
        std::ofstream(path, std::ios::binary) << bytes;
        main->OpenMidiFile(path);
    }
    int CountSent(std::uint32_t Message) const
    {
        const auto sent = fake->ShortsSent(0);
        return static_cast<int>(std::count(sent.begin(), sent.end(), Message));
    }
    // Play from the start until the song's two notes sound.
    void PlayUntilSounding()
    {
        main->actPlay->Execute();
        ASSERT_TRUE(PumpUntil([this] { return CountSent(Packed(0x91, 0x4F, 0x51)) > 0; }));
    }
    void ShowRoll()
    {
        main->actPianoRoll->Execute();
        Pump();
        roll->PianoRoll1->PaintBox()->Repaint();
        Pump();
    }
    // The first x of the notes area at Tick or later.
    int XOfTime(int Tick) const
    {
        const TKVPianoRollGeometry g = roll->PianoRoll1->Geometry();
        for (int x = g.NotesRect().Left; x < g.NotesRect().Right; ++x)
            if (g.TimeOfX(x) >= Tick) return x;
        return g.NotesRect().Right;
    }
    // A press of the left button on the roll at Tick, painted, and released when Release.
    void PressRoll(int Tick, bool Release = true)
    {
        HWND box = roll->PianoRoll1->PaintBox()->Handle();
        const TRect area = roll->PianoRoll1->Geometry().NotesRect();
        const LPARAM at = MAKELPARAM(XOfTime(Tick), (area.Top + area.Bottom) / 2);
        SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
        roll->PianoRoll1->PaintBox()->Repaint();
        if (Release) SendMessageW(box, WM_LBUTTONUP, 0, at);
        Pump();
    }
};

TEST(NotesLeftSounding, FollowsNoteOffsAllNotesOffAndResets)
{
    const auto line = [](std::uint32_t m) {
        char text[64];
        std::snprintf(text, sizeof text, "midiOutShortMsg(0, $%08X) = 0", m);
        return std::string(text);
    };
    EXPECT_EQ(NotesLeftSounding({line(Packed(0x91, 60, 9)), line(Packed(0x90, 62, 9)), line(Packed(0x81, 60, 0)),
                                 line(Packed(0x92, 64, 9)), line(Packed(0xB2, 123, 0))}),
              (std::vector<std::string>{"90 3E"}));
    // A note-on of velocity 0 ends a note; a failed call and another output's message count for nothing.
    EXPECT_EQ(NotesLeftSounding({line(Packed(0x90, 62, 9)), line(Packed(0x90, 62, 0)), "midiOutShortMsg(0, $00093C90) = 5",
                                 "midiOutShortMsg(1, $00093C90) = 0"}),
              (std::vector<std::string>{}));
    EXPECT_EQ(NotesLeftSounding({line(Packed(0x95, 60, 9)), "midiOutReset(0) = 0"}), (std::vector<std::string>{}));
}

// A way through the windows that may leave notes of the song, the roll or the instrument sounding.
class PathsThatEndNotes;
struct TPath {
    const char* Name;
    std::function<void(PathsThatEndNotes&)> Walk;
};

class PathsThatEndNotes : public WithSongs, public ::testing::WithParamInterface<TPath> {
public:
    void PlayOrPause() { main->actPlay->Execute(); }
};

TEST_P(PathsThatEndNotes, LeaveNoNoteSoundingNorAnyKeyLit)
{
    OpenSong({HeldNotesTrack});
    GetParam().Walk(*this);
    if (HasFatalFailure()) return;
    Pump();
    EXPECT_EQ(NotesLeftSounding(fake->Log()), (std::vector<std::string>{}));
    EXPECT_TRUE(main->PianoKeyboard1->PressedKeys().empty());
    EXPECT_TRUE(errors.empty());
}

const TPath Paths[] = {
    {"Pause", [](PathsThatEndNotes& T) {
         T.PlayUntilSounding();
         T.PlayOrPause();
     }},
    {"Stop", [](PathsThatEndNotes& T) {
         T.PlayUntilSounding();
         T.main->actStop->Execute();
     }},
    {"TrackSwitchedOffInTheHandsPanel", [](PathsThatEndNotes& T) {
         T.PlayUntilSounding();
         T.options->PianoTracks1->ToggleItem(thLeft, 0);
         // The player skips the track's note-offs from now on.
         ASSERT_FALSE(T.main->MidiFile1->GetTrack(0)->Active());
     }},
    {"ChannelSwitchedOff", [](PathsThatEndNotes& T) {
         // A program change puts channel 1 among the checked ones.
         T.OpenSong({"00 C1 00 " + HeldNotesTrack});
         T.PlayUntilSounding();
         T.options->PianoChannels1->BoxClicked(1);
         ASSERT_FALSE(T.options->PianoChannels1->GetChannelActive(1));
     }},
    {"SeekClickWhilePlaying", [](PathsThatEndNotes& T) {
         // The song goes on for 20000 ticks after the notes' ends (a volume at the end).
         std::string track = HeldNotesTrack;
         track.insert(track.size() - std::string("01 FF 2F 00").size(), "81 9C 20 B2 07 64 ");
         T.OpenSong({track});
         T.PlayUntilSounding();
         // To tick 12000 or so, past the notes' ends: the seek passes over their note-offs.
         T.main->pbLengthMouseDown(T.main->pbLength->Width() * 2 / 5);
         ASSERT_GT(T.main->MidiPlayer1->CurrentTime(), 10080);
         ASSERT_EQ(T.main->MidiPlayer1->Status(), stPlaying);
     }},
    {"RollScrubbedOverTheNotesAndAway", [](PathsThatEndNotes& T) {
         T.ShowRoll();
         T.PressRoll(1440);
         // The user asked for the notes under the cursor: they sound.
         ASSERT_EQ(T.CountSent(Packed(0x91, 0x4C, 0x5E)), 1);
         T.PressRoll(100);
     }},
    {"RollClosedWhileItSoundsNotes", [](PathsThatEndNotes& T) {
         T.ShowRoll();
         T.PressRoll(1440, false);
         ASSERT_EQ(T.CountSent(Packed(0x91, 0x4C, 0x5E)), 1);
         T.roll->Close();
     }},
    {"RollOpenedWhereThePlayerStopped", [](PathsThatEndNotes& T) {
         T.PlayUntilSounding();
         T.main->actStop->Execute();
         // The roll's cursor stands on the notes; it lights them, but nobody asked to hear them.
         T.ShowRoll();
         T.roll->PianoRoll1->PaintBox()->Repaint();
         EXPECT_FALSE(T.roll->PianoRoll1->LitNotes().empty());
     }},
    {"PlayFromStopWithAnInstrumentNoteOnAnUncheckedChannel", [](PathsThatEndNotes& T) {
         ASSERT_FALSE(T.options->PianoChannels1->GetChannelActive(5));
         T.fake->InjectShort(0, Packed(0x95, 60, 100));
         T.fake->WaitIdle();
         ASSERT_EQ(T.CountSent(Packed(0x95, 60, 100)), 1);
         T.main->actPlay->Execute();
     }},
    {"ResumeAfterTheRollWasScrubbedWhilePaused", [](PathsThatEndNotes& T) {
         T.PlayUntilSounding();
         T.PlayOrPause();
         T.ShowRoll();
         T.PressRoll(1440);
         ASSERT_EQ(T.CountSent(Packed(0x91, 0x4C, 0x5E)), 2);
         T.main->actPlay->Execute(); // Resume
         const int ticks = 5;
         int seen = 0;
         T.main->MidiPlayer1->OnUpdateEvent = [&seen](TObject*, std::uint32_t) { ++seen; };
         T.PumpUntil([&seen] { return seen >= ticks; }, 10000);
     }},
};

INSTANTIATE_TEST_SUITE_P(Paths, PathsThatEndNotes, ::testing::ValuesIn(Paths),
                         [](const ::testing::TestParamInfo<TPath>& info) { return std::string(info.param.Name); });

TEST_F(WithSongs, ASystemExclusiveEventOfTheSongGoesOutWhole)
{
    // A GM reset, then a note.
    OpenSong({"00 F0 05 7E 7F 09 01 F7 00 90 3C 64 10 80 3C 40 01 FF 2F 00"});
    main->actPlay->Execute();
    ASSERT_TRUE(PumpUntil([this] { return main->MidiPlayer1->Status() == stStop; }));
    EXPECT_EQ(fake->LongsSent(0), (std::vector<std::vector<std::uint8_t>>{{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}}));
    for (std::uint32_t m : fake->ShortsSent(0)) EXPECT_NE(m & 0xF0, 0xF0u) << std::hex << m;
    EXPECT_EQ(CountSent(Packed(0x90, 0x3C, 0x64)), 1);
    EXPECT_TRUE(errors.empty());
}

TEST_F(WithSongs, AVolumeOfTheSongReachesTheOutputOnceAndShowsOnTheChannelPanel)
{
    OpenSong({"00 B8 07 50 00 98 3C 64 10 88 3C 40 01 FF 2F 00"});
    main->actPlay->Execute();
    ASSERT_TRUE(PumpUntil([this] { return main->MidiPlayer1->Status() == stStop; }));
    EXPECT_EQ(CountSent(Packed(0xB8, 7, 0x50)), 1);
    EXPECT_EQ(options->PianoChannels1->ChannelSlider(8)->Position(), 127 - 0x50);
    // The user's own move of the slider still sets the channel's volume.
    options->PianoChannels1->ChannelSlider(8)->SetPosition(27);
    EXPECT_EQ(CountSent(Packed(0xB8, 7, 100)), 1);
    EXPECT_TRUE(errors.empty());
}

TEST_F(WithSongs, TheSpeedAndMeterReadOutShowTheSongOpenedAndTheRecordingsTempo)
{
    // Tempo 150 (400000 microseconds per quarter note) and 3/4, then a note.
    OpenSong({"00 FF 51 03 06 1A 80 00 FF 58 04 03 02 18 08 00 90 3C 64 10 80 3C 40 01 FF 2F 00"});
    EXPECT_EQ(main->lbSpeed->Caption(), "150");
    EXPECT_EQ(main->lbMeter->Caption(), "3/4");
    main->actPlay->Execute();
    ASSERT_TRUE(PumpUntil([this] { return main->MidiPlayer1->Status() == stStop; }));
    EXPECT_EQ(main->lbSpeed->Caption(), "150");
    // A song without tempo or meter plays at 120 in 4/4.
    OpenSong({"00 90 3C 64 10 80 3C 40 01 FF 2F 00"});
    EXPECT_EQ(main->lbSpeed->Caption(), "120");
    EXPECT_EQ(main->lbMeter->Caption(), "4/4");
    EXPECT_EQ(main->MidiPlayer1->Speed(), 120);
    // A recording shows the tempo it records at.
    RecordDialogWait() = [](TfrmRecord& d) {
        d.editSpeed->SetText("90");
        d.Button1Click();
    };
    main->actRecord->Execute();
    ASSERT_EQ(main->MidiPlayer1->Status(), stRecording);
    EXPECT_EQ(main->lbSpeed->Caption(), "90");
    main->actStop->Execute();
    EXPECT_EQ(main->lbSpeed->Caption(), "90");
    EXPECT_TRUE(errors.empty());
}

} // namespace
} // namespace kv
