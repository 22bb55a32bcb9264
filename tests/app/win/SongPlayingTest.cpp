// The main window with songs, over the scripted MIDI fake: opening, saving, playing with its
// captions and status texts, what reaches the outputs and the on-screen piano, live playing from
// the instrument, the piano and the computer keys, the sliders, and recording into "Record.mid".
#include "app/uRecordSettings.h"
#include "app/win/KorvanelWindowsFixture.h"
#include "app/win/fMain.h"
#include "app/win/fOption.h"
#include "app/win/fRecord.h"
#include "app/win/fRoll.h"
#include "app/win/uFileDialogs.h"
#include "app/win/uProgram.h"
#include "gui/win/TApplication.h"
#include "midi/kvMidiApi.h"
#include "midi/kvMidiDevicesInstances.h"
#include "midi/kvMidiFakeApi.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <tuple>

namespace kv {
namespace {

namespace fs = std::filesystem;

// One event of a test song: its delta time, status and data bytes (a meta event's type and data).
struct Ev {
    std::uint32_t Delta;
    std::uint8_t Status;
    std::string Data;
};

std::string VarLen(std::uint32_t value)
{
    std::string bytes(1, static_cast<char>(value & 0x7F));
    while (value >>= 7) bytes.insert(bytes.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return bytes;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

std::string Big(std::uint32_t value, int size)
{
    std::string s;
    for (int shift = 8 * (size - 1); shift >= 0; shift -= 8) s += static_cast<char>((value >> shift) & 0xFF);
    return s;
}

// A format 1 song; each track ends with an end-of-track event one tick after its last event.
std::string SongBytes(const std::vector<std::vector<Ev>>& tracks, int ppq = 480)
{
    std::string file = "MThd" + Big(6, 4) + Big(1, 2) + Big(static_cast<std::uint32_t>(tracks.size()), 2) + Big(static_cast<std::uint32_t>(ppq), 2);
    for (const auto& track : tracks) {
        std::string body;
        for (const Ev& e : track) {
            body += VarLen(e.Delta) + static_cast<char>(e.Status);
            if (e.Status == 0xFF) body += e.Data.substr(0, 1) + VarLen(static_cast<std::uint32_t>(e.Data.size() - 1)) + e.Data.substr(1);
            else body += e.Data;
        }
        body += VarLen(1) + Bytes({0xFF, 0x2F, 0x00});
        file += "MTrk" + Big(static_cast<std::uint32_t>(body.size()), 4) + body;
    }
    return file;
}

std::uint32_t Packed(int status, int data1, int data2)
{
    return static_cast<std::uint32_t>(status + data1 * 0x100 + data2 * 0x10000);
}

class Songs : public test::KorvanelWindows {
protected:
    Songs() : KorvanelWindows({.FolderPrefix = "kv_songs_", .Midi = test::TFakeMidi::KeysAndSynth, .Records = true}) {}
    void SetUp() override
    {
        savedDialog = FileDialog();
        KorvanelWindows::SetUp();
        Application()->OnMessage = [](MSG& m) { return frmMain && frmMain->ApplicationEvents1Message(m); };
        main->Show();
        main->FormShow();
        Pump();
    }
    void TearDown() override
    {
        Application()->OnMessage = nullptr;
        KorvanelWindows::TearDown();
        FileDialog() = savedDialog;
    }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Short messages the output received, without the All Notes Off and volume of Play and Stop.
    std::vector<std::uint32_t> Notes()
    {
        std::vector<std::uint32_t> notes;
        for (std::uint32_t m : fake->ShortsSent(0))
            if ((m & 0xF0) == 0x80 || (m & 0xF0) == 0x90) notes.push_back(m);
        return notes;
    }
    // Short messages the output received since the mark.
    std::size_t Mark() { return fake->ShortsSent(0).size(); }
    std::vector<std::uint32_t> SentSince(std::size_t mark)
    {
        const auto sent = fake->ShortsSent(0);
        return std::vector<std::uint32_t>(sent.begin() + static_cast<std::ptrdiff_t>(std::min(mark, sent.size())), sent.end());
    }
    std::string Panel() { return main->StatusBar1->PanelText(1); }
    std::vector<TKVTrackHand> Hands()
    {
        std::vector<TKVTrackHand> hands;
        for (int i = 0; i < main->MidiFile1->TrackCount(); ++i) hands.push_back(options->PianoTracks1->GetTrackHand(i));
        return hands;
    }
    // Plays until the player stops by itself (or the time is up).
    bool PlayToTheEnd(int Ms = 3000)
    {
        main->actPlay->Execute();
        return PumpFor(Ms, [this] { return main->MidiPlayer1->Status() == stStop; });
    }

    // A short song: a tempo of 100, 3/4 and a name in the conductor, a note 60 in track 1.
    std::string ShortSong()
    {
        return SongBytes({{{0, 0xFF, Bytes({0x03, 'C'})}, {0, 0xFF, Bytes({0x51, 0x09, 0x27, 0xC0})}, {0, 0xFF, Bytes({0x58, 3, 2, 24, 8})}},
                          {{0, 0x90, Bytes({60, 100})}, {96, 0x80, Bytes({60, 64})}}});
    }
    // A song of ten seconds that does not end while a test looks at it.
    std::string LongSong()
    {
        return SongBytes({{{0, 0x90, Bytes({60, 100})}, {9600, 0x80, Bytes({60, 64})}}});
    }

    TFileDialog savedDialog;
};

TEST_F(Songs, PlayingSendsTheNotesTransposedAndNoMetaEventToTheOutputs)
{
    main->OpenMidiFile(Write("short.mid", ShortSong()));
    ASSERT_EQ(main->MidiFile1->TrackCount(), 2);
    EXPECT_EQ(main->lbFile->Caption(), "short.mid");
    main->trbKey->SetPosition(2);
    fake->ClearLog();
    ASSERT_TRUE(PlayToTheEnd());
    EXPECT_EQ(Notes(), (std::vector<std::uint32_t>{Packed(0x90, 62, 100), Packed(0x80, 62, 64)}));
    // Tempo, meter and name reached no output; the read-out shows them.
    EXPECT_TRUE(fake->LongsSent(0).empty());
    EXPECT_EQ(main->lbSpeed->Caption(), "100");
    EXPECT_EQ(main->lbMeter->Caption(), "3/4");
    // The end of every track stopped the player and the buttons.
    EXPECT_EQ(main->actPlay->Caption(), "Play");
    EXPECT_EQ(Panel(), "Stop");
    EXPECT_EQ(main->lbTime->Caption(), "0:00:00.000");
    EXPECT_TRUE(errors.empty());
}

TEST_F(Songs, PlayedNotesLightAtTheSentPitchInTheirHandsColour)
{
    main->OpenMidiFile(Write("short.mid", ShortSong()));
    options->lblColorR->SetColor(0x0000FF);
    options->lblColorL->SetColor(0x00FF00);
    const std::uint8_t octave = 12 * main->PianoKeyboard1->PianoOctave();
    struct Case {
        int key;
        std::uint8_t track;
        std::uint8_t lit;
        TColor colour;
    };
    for (const Case c : {Case{2, 0, 62, 0x0000FF}, Case{-3, 1, 57, 0x00FF00}, Case{0, 1, 60, 0x00FF00}}) {
        main->trbKey->SetPosition(c.key);
        const std::size_t mark = Mark();
        TKVMidiEvent on;
        on.SetEvent(0x90);
        on.SetData1(60);
        on.SetData2(90);
        on.SetTrack(c.track);
        main->MidiPlayer1->OnMidiEvent(&on);
        TColor colour = 0;
        EXPECT_TRUE(main->PianoKeyboard1->KeyPressed(static_cast<std::uint8_t>(c.lit - octave), &colour)) << c.key;
        EXPECT_EQ(colour, c.colour) << c.key;
        EXPECT_EQ(SentSince(mark), (std::vector<std::uint32_t>{Packed(0x90, c.lit, 90)})) << c.key;
        // All Notes Off clears the piano whatever the key: its controller number is not transposed.
        TKVMidiEvent off;
        off.SetEvent(0xB0);
        off.SetData1(123);
        main->MidiPlayer1->OnMidiEvent(&off);
        EXPECT_TRUE(main->PianoKeyboard1->PressedKeys().empty()) << c.key;
        EXPECT_EQ(fake->ShortsSent(0).back(), Packed(0xB0, 123, 0)) << c.key;
    }
}

TEST_F(Songs, PlayPauseResumeAndStopShowTheirCaptionsAndStatusTexts)
{
    main->actPlay->Execute();
    EXPECT_EQ(Panel(), "File not found!");
    EXPECT_EQ(main->actPlay->Tag(), 0);
    main->OpenMidiFile(Write("long.mid", LongSong()));
    struct Step {
        TAction* action;
        const char* play;
        int tag;
        const char* panel;
        bool openEnabled;
    };
    // Open and Record stay disabled from Play until Stop.
    for (const Step s : {Step{main->actPlay, "Pause", 1, "Play", false}, {main->actPlay, "Resume", 2, "Pause", false},
                         {main->actPlay, "Pause", 1, "Play", false}, {main->actPlay, "Resume", 2, "Pause", false},
                         {main->actStop, "Play", 0, "Stop", true}}) {
        s.action->Execute();
        PumpFor(50);
        EXPECT_EQ(main->actPlay->Caption(), s.play);
        EXPECT_EQ(main->actPlay->Hint(), s.play);
        EXPECT_EQ(main->actPlay->Tag(), s.tag);
        EXPECT_EQ(main->actPlay->ImageIndex(), s.tag == 1 ? 1 : 0);
        EXPECT_EQ(Panel(), s.panel);
        EXPECT_EQ(main->actOpen->Enabled(), s.openEnabled) << s.play;
        EXPECT_EQ(main->actRecord->Enabled(), s.openEnabled) << s.play;
    }
    EXPECT_EQ(main->actRecord->Caption(), "Record");
    EXPECT_EQ(main->lbTime->Caption(), "0:00:00.000");
    EXPECT_EQ(main->pbLength->Position(), 0);
    EXPECT_TRUE(errors.empty());
}

TEST_F(Songs, HandsFollowTheTrackCountOfTheSongOpened)
{
    const std::vector<std::vector<TKVTrackHand>> expected = {
        {thRight, thLeft}, {thLeft, thRight, thLeft}, {thLeft, thRight, thLeft, thLeft}};
    for (const auto& hands : expected) {
        std::vector<std::vector<Ev>> tracks(hands.size(), std::vector<Ev>{{0, 0x90, Bytes({60, 1})}, {10, 0x80, Bytes({60, 0})}});
        main->OpenMidiFile(Write("hands" + std::to_string(hands.size()) + ".mid", SongBytes(tracks)));
        EXPECT_EQ(Hands(), hands) << hands.size();
        // The roll shows the song opened, and the hands panel lists each track once.
        EXPECT_EQ(roll->PianoRoll1->MidiFile(), main->MidiFile1);
        EXPECT_EQ(static_cast<int>(roll->PianoRoll1->MidiEventList().size()), 3 * static_cast<int>(hands.size()));
        EXPECT_EQ(options->PianoTracks1->Items(thLeft).size() + options->PianoTracks1->Items(thRight).size(), hands.size());
    }
}

TEST_F(Songs, ASongThatFailsToReadChangesNothing)
{
    const std::string good = Write("good.mid", ShortSong());
    main->OpenMidiFile(good);
    const std::string bad = Write("bad.mid", "MThd\0\0\0\6garbage");
    EXPECT_ANY_THROW(main->OpenMidiFile(bad));
    EXPECT_EQ(main->MidiFile1->FileName(), good);
    EXPECT_EQ(main->lbFile->Caption(), "good.mid");
    EXPECT_EQ(main->MidiFile1->TrackCount(), 2);
    EXPECT_EQ(Hands(), (std::vector<TKVTrackHand>{thRight, thLeft}));
    // A missing file is passed over.
    main->OpenMidiFile((folder / "missing.mid").string());
    EXPECT_EQ(main->MidiFile1->FileName(), good);
}

TEST_F(Songs, AtStartTheLastFileOpensAndOneThatFailsToReadIsNotKept)
{
    const std::string good = Write("good.mid", ShortSong());
    main->MidiFile1->SetFileName(good);
    main->FormShow();
    EXPECT_EQ(main->MidiFile1->TrackCount(), 2);
    EXPECT_EQ(main->pbLength->Max(), main->MidiFile1->MidiLength());
    main->MidiFile1->SetFileName(Write("bad.mid", "MThd\0\0\0\6garbage"));
    main->FormShow();
    EXPECT_EQ(errors.size(), 1u);
    // The name written as the last file at the end is the default one again.
    EXPECT_EQ(main->MidiFile1->FileName(), ProgramFolder() + "Untitled.mid");
}

TEST_F(Songs, SaveAsWritesASongThatReadsBackEqual)
{
    const std::string original = Write("orig.mid", ShortSong());
    FileDialog() = [&](const TFileDialogRequest& r) -> std::optional<std::string> {
        EXPECT_FALSE(r.Save);
        EXPECT_EQ(r.DefaultExt, ".mid");
        return original;
    };
    main->actOpen->Execute();
    ASSERT_EQ(main->MidiFile1->FileName(), original);
    const std::string copy = (folder / "copy.mid").string();
    FileDialog() = [&](const TFileDialogRequest& r) -> std::optional<std::string> {
        EXPECT_TRUE(r.Save);
        EXPECT_EQ(r.Filter, "Midi Files(*.mid;*.midi)|*.mid;*.midi|All Files(*.*)|*.*");
        return copy;
    };
    main->actSaveAs->Execute();
    EXPECT_EQ(main->lbFile->Caption(), "copy.mid");
    EXPECT_EQ(main->lbFile->Hint(), copy);
    TKVMidiFile a(nullptr), b(nullptr);
    a.SetFileName(original);
    a.ReadFile();
    b.SetFileName(copy);
    b.ReadFile();
    EXPECT_EQ(a.MidiHeader(), b.MidiHeader());
    ASSERT_EQ(a.TrackCount(), b.TrackCount());
    for (int t = 0; t < a.TrackCount(); ++t) {
        ASSERT_EQ(a.GetTrack(t)->TrackEventCount(), b.GetTrack(t)->TrackEventCount());
        for (int i = 0; i < a.GetTrack(t)->TrackEventCount(); ++i) {
            const TKVMidiEvent *x = a.GetTrack(t)->GetEvent(i), *y = b.GetTrack(t)->GetEvent(i);
            EXPECT_EQ(std::make_tuple(x->Event(), x->Data1(), x->Data2(), x->Letter()), std::make_tuple(y->Event(), y->Data1(), y->Data2(), y->Letter()));
            EXPECT_EQ(x->StartTime(), y->StartTime());
        }
    }
    // A cancelled dialog changes nothing; Save follows the name.
    FileDialog() = [](const TFileDialogRequest&) { return std::optional<std::string>(); };
    main->actSaveAs->Execute();
    EXPECT_EQ(main->MidiFile1->FileName(), copy);
    EXPECT_TRUE(main->actSave->Enabled());
    main->MidiFile1->SetFileName("");
    EXPECT_FALSE(main->actSave->Enabled());
}

HDROP MakeDrop(const std::wstring& name)
{
    const std::size_t size = sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(name.begin(), name.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(Songs, ADroppedSongOpensAndOtherFilesAreIgnored)
{
    const std::string song = Write("dropped.MID", ShortSong());
    const std::string text = Write("notes.txt", ShortSong());
    for (const auto& [file, opened] : std::vector<std::pair<std::string, bool>>{{text, false}, {song, true}}) {
        PostMessageW(main->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(fs::path(file).wstring())), 0);
        Pump();
        EXPECT_EQ(main->MidiFile1->FileName() == file, opened) << file;
    }
    // A drop while playing stops the player first.
    main->OpenMidiFile(Write("long.mid", LongSong()));
    main->actPlay->Execute();
    PostMessageW(main->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(fs::path(song).wstring())), 0);
    Pump();
    EXPECT_EQ(main->MidiFile1->FileName(), song);
    EXPECT_EQ(main->MidiPlayer1->Status(), stStop);
    EXPECT_EQ(main->actPlay->Caption(), "Play");
    // A drop while paused leaves the player paused, and Play then continues.
    const std::string longSong = (folder / "long.mid").string();
    main->actPlay->Execute();
    main->actPlay->Execute();
    PostMessageW(main->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(fs::path(longSong).wstring())), 0);
    Pump();
    EXPECT_EQ(main->MidiFile1->FileName(), longSong);
    EXPECT_EQ(main->MidiPlayer1->Status(), stPaused);
    main->actPlay->Execute();
    EXPECT_EQ(main->MidiPlayer1->Status(), stPlaying);
    EXPECT_EQ(main->actPlay->Caption(), "Pause");
    main->actStop->Execute();
    EXPECT_TRUE(errors.empty());
}

TEST_F(Songs, ASeekClickJumpsWhilePlayingAndOnlyReappliesTheVolumeOtherwise)
{
    main->OpenMidiFile(Write("long.mid", LongSong()));
    main->trbVolume->SetPosition(32768);
    fake->ClearLog();
    main->pbLengthMouseDown(main->pbLength->Width() / 2);
    EXPECT_EQ(main->MidiPlayer1->CurrentTime(), 0.0);
    EXPECT_EQ(fake->DeviceVolume(0), 0x80008000u);
    main->actPlay->Execute();
    main->pbLengthMouseDown(main->pbLength->Width() / 2);
    const double half = main->pbLength->Max() * (static_cast<double>(main->pbLength->Width() / 2) / main->pbLength->Width());
    EXPECT_NEAR(main->MidiPlayer1->CurrentTime(), half, 2.0);
    // The read-outs follow at the player's next tick, which a loaded machine may deliver late.
    EXPECT_TRUE(PumpFor(5000, [this] { return main->pbLength->Position() > 0; }));
    EXPECT_GE(main->pbLength->Position(), static_cast<int>(half) - 2);
    EXPECT_EQ(roll->PianoRoll1->CurrentTime(), main->pbLength->Position());
    main->actStop->Execute();
    EXPECT_EQ(main->pbLength->Position(), 0);
}

TEST_F(Songs, WithRepeatOnTheSongStartsAgain)
{
    main->OpenMidiFile(Write("short.mid", ShortSong()));
    main->actRepeat->Execute();
    fake->ClearLog();
    main->actPlay->Execute();
    EXPECT_TRUE(PumpFor(3000, [this] { return Notes().size() >= 4; }));
    EXPECT_EQ(main->actPlay->Caption(), "Pause");
    main->actStop->Execute();
    const auto notes = Notes();
    ASSERT_GE(notes.size(), 4u);
    EXPECT_EQ(notes[2], Packed(0x90, 60, 100));
}

TEST_F(Songs, ClearingAChannelsBoxSilencesThatChannel)
{
    main->OpenMidiFile(Write("ch.mid", SongBytes({{{0, 0xC3, Bytes({5})}, {0, 0x93, Bytes({60, 100})}, {10, 0x83, Bytes({60, 0})}}})));
    ASSERT_TRUE(options->PianoChannels1->GetChannelActive(3));
    const std::size_t mark = Mark();
    options->PianoChannels1->BoxClicked(3);
    EXPECT_FALSE(options->PianoChannels1->GetChannelActive(3));
    EXPECT_EQ(SentSince(mark), (std::vector<std::uint32_t>{Packed(0xB3, 123, 0)}));
}

TEST_F(Songs, ComputerKeysPlayOnTheRecordChannelOnceTransposed)
{
    TKVPianoKeyboard& piano = *main->PianoKeyboard1;
    const auto note = [&](std::uint16_t vk) { return piano.KeyToNote(vk) + 12 * piano.PianoOctave(); };
    ASSERT_GE(piano.KeyToNote(VK_NUMPAD8), 0);
    RecordSettings.Channel = 3;
    main->trbKey->SetPosition(2);
    const int velocity = piano.PianoIntensity();
    std::size_t mark = Mark();
    HWND wnd = main->Handle();
    PostMessageW(wnd, WM_KEYDOWN, VK_UP, 1);                     // keypad 8 without NumLock
    PostMessageW(wnd, WM_KEYDOWN, VK_UP, 1 | (1 << 30));         // auto-repeat: nothing
    PostMessageW(wnd, WM_KEYUP, VK_UP, 1 | (3u << 30));
    Pump();
    EXPECT_EQ(SentSince(mark), (std::vector<std::uint32_t>{Packed(0x93, note(VK_NUMPAD8) + 2, velocity),
                                                           Packed(0x83, note(VK_NUMPAD8) + 2, 64)}));
    if (piano.KeyToNote(VK_UP) >= 0) {
        mark = Mark();
        PostMessageW(wnd, WM_KEYDOWN, VK_UP, 1 | (1 << 24)); // the separate Up key
        Pump();
        EXPECT_EQ(SentSince(mark), (std::vector<std::uint32_t>{Packed(0x93, note(VK_UP) + 2, velocity)}));
        PostMessageW(wnd, WM_KEYUP, VK_UP, 1 | (1 << 24) | (3u << 30));
        Pump();
    }
    // With a dialog open computer keys do not play.
    main->SetDialogOpen(true);
    mark = Mark();
    PostMessageW(wnd, WM_KEYDOWN, VK_NUMPAD8, 1);
    Pump();
    EXPECT_TRUE(SentSince(mark).empty());
    main->SetDialogOpen(false);
}

TEST_F(Songs, InstrumentNotesAreSentTransposedAndLitAsPlayed)
{
    std::vector<std::string> trace;
    main->SetOnTraceLine([&](const std::string& line) { trace.push_back(line); });
    main->trbKey->SetPosition(2);
    const std::size_t mark = Mark();
    fake->InjectShort(0, Packed(0x91, 60, 80));
    fake->WaitIdle();
    EXPECT_EQ(SentSince(mark), (std::vector<std::uint32_t>{Packed(0x91, 62, 80)}));
    EXPECT_TRUE(main->PianoKeyboard1->KeyPressed(static_cast<std::uint8_t>(60 - 12 * main->PianoKeyboard1->PianoOctave())));
    PumpFor(200, [&] { return trace.size() >= 2; });
    ASSERT_GE(trace.size(), 2u);
    for (const auto& line : trace) EXPECT_EQ(line.rfind("Time: ", 0), 0u) << line;
    EXPECT_NE(trace[0].find(", Device: 0, "), std::string::npos) << trace[0];
    // Without a window to show them no trace lines are made.
    main->SetOnTraceLine(nullptr);
    const std::size_t lines = trace.size();
    fake->InjectShort(0, Packed(0x81, 60, 0));
    fake->WaitIdle();
    PumpFor(100);
    EXPECT_EQ(trace.size(), lines);
}

TEST_F(Songs, TheSlidersSetTheirReadOutsAndTheDevices)
{
    struct KeyCase {
        int position;
        const char* text;
        std::uint8_t key;
    };
    for (const KeyCase c : {KeyCase{2, "+2", 2}, {-5, "-5", 251}, {12, "+12", 12}}) {
        main->trbKey->SetPosition(c.position);
        EXPECT_EQ(main->lbKey->Caption(), c.text);
        EXPECT_EQ(main->MidiDevices1->MidiKey(), c.key);
    }
    main->lblKey->OnDblClick(main->lblKey);
    EXPECT_EQ(main->lbKey->Caption(), "0");
    main->trbSpeedRatio->SetPosition(150);
    EXPECT_EQ(main->lblSpeedRatio->Caption(), "150%");
    EXPECT_EQ(main->trbSpeedRatio->Hint(), "150%");
    EXPECT_DOUBLE_EQ(main->MidiPlayer1->SpeedRatio(), 1.5);
    main->lblSpeed->OnDblClick(main->lblSpeed);
    EXPECT_DOUBLE_EQ(main->MidiPlayer1->SpeedRatio(), 1.0);
    EXPECT_EQ(main->lblVolume->Caption(), "100%");
    main->trbVolume->SetPosition(32768);
    EXPECT_EQ(main->lblVolume->Caption(), "50%");
    EXPECT_EQ(fake->DeviceVolume(0), 0x80008000u);
    main->trbVolume->SetPosition(0);
    EXPECT_EQ(main->lblVolume->Caption(), "0%");
    EXPECT_EQ(fake->DeviceVolume(0), 0u);
}

TEST_F(Songs, ASliderHandsTheFocusBackToTheMainWindow)
{
    for (TTrackBar* slider : {main->trbKey, main->trbSpeedRatio, main->trbVolume}) {
        SCOPED_TRACE(slider->Name());
        SetFocus(slider->Handle());
        EXPECT_EQ(GetFocus(), main->Handle());
    }
    // The thumb still follows the mouse once the slider has handed the focus on.
    TTrackBar* speed = main->trbSpeedRatio;
    RECT thumb{}, channel{};
    SendMessageW(speed->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    SendMessageW(speed->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const int y = (thumb.top + thumb.bottom) / 2;
    SendMessageW(speed->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((thumb.left + thumb.right) / 2, y));
    SendMessageW(speed->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(channel.right + 20, y));
    SendMessageW(speed->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(channel.right + 20, y));
    EXPECT_EQ(speed->Position(), 200);
    EXPECT_EQ(GetFocus(), main->Handle());
}

// The record dialog answered by a script: the fields set, then a button pressed.
void AnswerRecordDialog(const std::function<void(TfrmRecord&)>& Fill)
{
    RecordDialogWait() = [Fill](TfrmRecord& dialog) {
        EXPECT_EQ(frmRecord, &dialog);
        EXPECT_TRUE(frmMain->DialogOpen());
        if (Fill) Fill(dialog);
    };
}

TEST_F(Songs, ARecordingOfANewSongWritesRecordMidWithThePlayedNotesAtTheirTicks)
{
    AnswerRecordDialog([](TfrmRecord& d) {
        EXPECT_EQ(d.Caption(), "Record File");
        EXPECT_EQ(d.editTrackName->Text(), "Record Track");
        EXPECT_EQ(d.seChannel->Text(), "1");
        EXPECT_EQ(d.editPPQ->Text(), "480");
        EXPECT_EQ(d.editSpeed->Text(), "120");
        EXPECT_EQ(d.editMeter->Text(), "4/4");
        d.seChannel->SetText("16");
        d.Button1Click();
    });
    main->actRecord->Execute();
    EXPECT_FALSE(main->DialogOpen());
    EXPECT_EQ(frmRecord, nullptr);
    EXPECT_EQ(main->actRecord->Caption(), "Pause");
    EXPECT_EQ(Panel(), "Record");
    EXPECT_FALSE(main->actPlay->Enabled());
    const std::string record = ProgramFolder() + RecordFileName;
    EXPECT_EQ(main->MidiFile1->FileName(), record);
    // An instrument note on channel 0 is recorded on the record channel, 15. Each message is
    // stamped when the fake's thread delivers it: between the times taken around its delivery.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point beforeOn = Clock::now();
    fake->InjectShort(0, Packed(0x90, 60, 100));
    fake->WaitIdle();
    const Clock::time_point afterOn = Clock::now();
    PumpFor(250);
    const Clock::time_point beforeOff = Clock::now();
    fake->InjectShort(0, Packed(0x80, 60, 64));
    fake->WaitIdle();
    const Clock::time_point afterOff = Clock::now();
    PumpFor(50);
    main->actStop->Execute();
    EXPECT_EQ(main->actRecord->Caption(), "Record");
    EXPECT_TRUE(errors.empty());

    TKVMidiFile back(nullptr);
    back.SetFileName(record);
    back.ReadFile();
    ASSERT_EQ(back.TrackCount(), 2);
    EXPECT_EQ(back.MidiHeader().HeaderType, ftMultiSynch);
    EXPECT_EQ(back.MidiHeader().PulsesPerQuarter, 480);
    std::vector<std::pair<int, int>> conductor;
    for (int i = 0; i < back.GetTrack(0)->TrackEventCount(); ++i)
        conductor.emplace_back(back.GetTrack(0)->GetEvent(i)->Event(), back.GetTrack(0)->GetEvent(i)->Data1());
    EXPECT_EQ(conductor, (std::vector<std::pair<int, int>>{{0xFF, 3}, {0xFF, 0x58}, {0xFF, 0x59}, {0xFF, 0x51}, {0xFF, 2}, {0xFF, 0x2F}}));
    const TMyMidiTrack& take = *back.GetTrack(1);
    std::vector<const TKVMidiEvent*> notes;
    for (int i = 0; i < take.TrackEventCount(); ++i)
        if ((take.GetEvent(i)->Event() & 0xE0) == 0x80) notes.push_back(take.GetEvent(i));
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0]->Event(), 0x9F);
    EXPECT_EQ(notes[0]->Data1(), 60);
    EXPECT_EQ(notes[1]->Event(), 0x8F);
    // At 120 beats per minute and 480 pulses per quarter note a millisecond is 0.96 ticks (250 ms
    // are 240 ticks); the tick count's steps allow 20 ticks either way.
    const auto ticksBetween = [](Clock::time_point from, Clock::time_point to) {
        return 0.96 * static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count());
    };
    const int length = notes[1]->StartTime() - notes[0]->StartTime();
    EXPECT_GE(length, ticksBetween(afterOn, beforeOff) - 20);
    EXPECT_LE(length, ticksBetween(beforeOn, afterOff) + 20);
    EXPECT_EQ(take.GetEvent(take.TrackEventCount() - 1)->Data1(), 0x2F);
    EXPECT_EQ(take.GetEvent(0)->Letter(), "Record Track");
}

TEST_F(Songs, ATrackRecordedIntoASongLeavesItsFileAloneAndAPausedTakeIsKept)
{
    std::vector<std::vector<Ev>> tracks(3, std::vector<Ev>{{0, 0x90, Bytes({60, 1})}, {10, 0x80, Bytes({60, 0})}});
    const std::string bytes = SongBytes(tracks, 96);
    const std::string song = Write("three.mid", bytes);
    main->OpenMidiFile(song);
    AnswerRecordDialog([](TfrmRecord& d) {
        d.CheckBox1->SetChecked(false);
        EXPECT_FALSE(d.editPPQ->Enabled());
        d.Button1Click();
    });
    main->actRecord->Execute();
    main->PianoKeyboard1->OnKeyboard(0x90, 64, 90);
    PumpFor(60);
    main->PianoKeyboard1->OnKeyboard(0x80, 64, 64);
    PumpFor(20);
    main->actRecord->Execute();
    EXPECT_EQ(main->actRecord->Caption(), "Resume");
    // Stopped while paused: the take is closed and written all the same.
    main->actStop->Execute();
    EXPECT_EQ(Read(song), bytes);
    TKVMidiFile back(nullptr);
    back.SetFileName(ProgramFolder() + RecordFileName);
    back.ReadFile();
    ASSERT_EQ(back.TrackCount(), 4);
    EXPECT_EQ(back.MidiHeader().PulsesPerQuarter, 96);
    bool recorded = false;
    for (int i = 0; i < back.GetTrack(3)->TrackEventCount(); ++i)
        recorded |= back.GetTrack(3)->GetEvent(i)->Event() == 0x90 && back.GetTrack(3)->GetEvent(i)->Data1() == 64;
    EXPECT_TRUE(recorded);
    // A song dropped on a paused recording closes the take first.
    AnswerRecordDialog([](TfrmRecord& d) { d.Button1Click(); });
    main->actRecord->Execute();
    main->PianoKeyboard1->OnKeyboard(0x90, 67, 90);
    main->PianoKeyboard1->OnKeyboard(0x80, 67, 64);
    PumpFor(40);
    main->actRecord->Execute();
    ASSERT_EQ(main->MidiPlayer1->Status(), stPaused);
    PostMessageW(main->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(fs::path(song).wstring())), 0);
    Pump();
    EXPECT_EQ(main->MidiFile1->FileName(), song);
    EXPECT_EQ(main->actRecord->Caption(), "Record");
    EXPECT_EQ(main->MidiPlayer1->Status(), stStop);
    back.SetFileName(ProgramFolder() + RecordFileName);
    back.ReadFile();
    ASSERT_EQ(back.TrackCount(), 5);
    EXPECT_EQ(back.GetTrack(4)->GetLastEvent()->Data1(), 0x2F);
    EXPECT_TRUE(errors.empty());
}

TEST_F(Songs, ACancelledOrUnusableRecordDialogRecordsNothing)
{
    main->OpenMidiFile(Write("short.mid", ShortSong()));
    const std::string before = main->MidiFile1->FileName();
    for (const auto& answer : std::vector<std::function<void(TfrmRecord&)>>{
             [](TfrmRecord& d) { d.Button2Click(); },
             [](TfrmRecord& d) { d.Close(); },
             [](TfrmRecord& d) {
                 d.editPPQ->SetText("0");
                 d.Button1Click();
             },
             [](TfrmRecord& d) {
                 d.editPPQ->SetText("480");
                 d.editSpeed->SetText("-5");
                 d.Button1Click();
             },
             // More than a file can carry: a division of 16 bits, a tempo of 24 bits.
             [](TfrmRecord& d) {
                 d.editPPQ->SetText("70000");
                 d.editSpeed->SetText("120");
                 d.Button1Click();
             },
             [](TfrmRecord& d) {
                 d.editPPQ->SetText("480");
                 d.editSpeed->SetText("3");
                 d.Button1Click();
             }}) {
        AnswerRecordDialog(answer);
        GuardedCall([this] { main->actRecord->Execute(); });
        EXPECT_EQ(main->actRecord->Caption(), "Record");
        EXPECT_EQ(main->MidiFile1->FileName(), before);
        EXPECT_EQ(main->MidiFile1->TrackCount(), 2);
        EXPECT_FALSE(main->DialogOpen());
    }
    EXPECT_FALSE(fs::exists(ProgramFolder() + RecordFileName));
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_NE(errors[0].find("Pulses per quarter"), std::string::npos) << errors[0];
    EXPECT_NE(errors[1].find("Speed"), std::string::npos) << errors[1];
    EXPECT_NE(errors[2].find("not 70000"), std::string::npos) << errors[2];
    EXPECT_NE(errors[3].find("Speed must lie within 4..60000000, not 3"), std::string::npos) << errors[3];
}

// The track name keeps its letters from the dialog into the file and back: the file holds it in
// the code page (Windows-1252 here), the dialog and the hands panel show it.
TEST_F(Songs, ARecordTrackNameKeepsItsLettersFromTheDialogToTheFileAndBack)
{
    const std::string uebung = "\xC3\x9C" "bung";
    AnswerRecordDialog([&](TfrmRecord& d) {
        d.editTrackName->SetText(uebung);
        d.Button1Click();
    });
    main->actRecord->Execute();
    main->actStop->Execute();
    EXPECT_EQ(RecordSettings.TrackName, "\xDC" "bung");
    TKVMidiFile back(nullptr);
    back.SetFileName(ProgramFolder() + RecordFileName);
    back.ReadFile();
    ASSERT_EQ(back.TrackCount(), 2);
    EXPECT_EQ(back.GetTrack(1)->TrackName(), "\xDC" "bung");
    std::vector<std::string> listed;
    for (TKVTrackHand hand : {thLeft, thRight})
        for (const auto& item : options->PianoTracks1->Items(hand)) listed.push_back(item.Text);
    EXPECT_NE(std::find(listed.begin(), listed.end(), "[01] " + uebung), listed.end());
    std::string shown;
    AnswerRecordDialog([&](TfrmRecord& d) {
        shown = d.editTrackName->Text();
        d.Button1Click();
    });
    main->actRecord->Execute();
    main->actStop->Execute();
    EXPECT_EQ(shown, uebung);
    EXPECT_EQ(RecordSettings.TrackName, "\xDC" "bung");
    EXPECT_TRUE(errors.empty());
}

// The record dialog is modal to the whole program: no other window takes input while it is open.
TEST_F(Songs, TheRecordDialogDisablesEveryOtherWindowWhileItIsOpen)
{
    options->Show();
    roll->Show();
    Pump();
    std::vector<HWND> others = {main->Handle(), options->Handle(), roll->Handle()};
    bool checked = false;
    AnswerRecordDialog([&](TfrmRecord& d) {
        EXPECT_TRUE(IsWindowEnabled(d.Handle()));
        for (HWND wnd : others) EXPECT_FALSE(IsWindowEnabled(wnd));
        checked = true;
        d.Button2Click();
    });
    main->actRecord->Execute();
    EXPECT_TRUE(checked);
    for (HWND wnd : others) EXPECT_TRUE(IsWindowEnabled(wnd));
    EXPECT_TRUE(errors.empty());
}

// "Record.mid" cannot be written: nothing is recorded, and the views show the song as it now is,
// with the added track, instead of nothing.
TEST_F(Songs, ARecordFileThatCannotBeWrittenLeavesTheViewsShowingTheSong)
{
    main->OpenMidiFile(Write("short.mid", ShortSong()));
    fs::create_directory(ProgramFolder() + RecordFileName); // no file can be made there
    AnswerRecordDialog([](TfrmRecord& d) {
        d.CheckBox1->SetChecked(false);
        d.Button1Click();
    });
    GuardedCall([this] { main->actRecord->Execute(); });
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(RecordFileName), std::string::npos) << errors[0];
    EXPECT_EQ(main->actRecord->Caption(), "Record");
    EXPECT_NE(main->MidiPlayer1->Status(), stRecording);
    ASSERT_EQ(main->MidiFile1->TrackCount(), 3);
    const auto& left = options->PianoTracks1->Items(thLeft);
    const auto& right = options->PianoTracks1->Items(thRight);
    EXPECT_EQ(left.size() + right.size(), 3u);
    EXPECT_EQ(frmRoll->PianoRoll1->MidiFile(), main->MidiFile1);
    fs::remove(ProgramFolder() + RecordFileName);
}

} // namespace
} // namespace kv
