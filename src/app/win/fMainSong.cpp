// The main window's songs: opening, saving, playing, recording, and the player's events that
// keep the outputs, the on-screen piano, the read-out and the roll in step with the song.
#include "app/uLanguage.h"
#include "app/uPlaying.h"
#include "app/uRecordSettings.h"
#include "app/win/fMain.h"
#include "app/win/fOption.h"
#include "app/win/fRecord.h"
#include "app/win/fRoll.h"
#include "app/win/uFileDialogs.h"
#include "app/win/uProgram.h"
#include "base/Format.h"
#include "base/Rounding.h"
#include "gui/win/TApplication.h"

#include <memory>

namespace kv {

namespace {

constexpr char OpenFilter[] = "Midi Files(*.mid;*.midi;*.kar)|*.mid;*.midi;*.kar|Picture Files(*.jpg;*.jpeg;*.gif;*.bmp)|"
                              "*.jpg;*.jpeg;*.gif;*.bmp|All Files(*.*)|*.*";
constexpr char SaveFilter[] = "Midi Files(*.mid;*.midi)|*.mid;*.midi|All Files(*.*)|*.*";
constexpr std::uint8_t AllNotesOffController = 123;

bool IsNoteMessage(std::uint8_t Event) { return (Event & 0xF0) == 0x80 || (Event & 0xF0) == 0x90; }

} // namespace

void TfrmMain::ConnectSongHandlers()
{
    actOpen->OnExecute = [this](TObject*) { actOpenExecute(); };
    actSave->OnExecute = [this](TObject*) { actSaveExecute(); };
    actSaveAs->OnExecute = [this](TObject*) { actSaveAsExecute(); };
    actPlay->OnExecute = [this](TObject*) { actPlayExecute(); };
    actStop->OnExecute = [this](TObject*) { actStopExecute(); };
    actRecord->OnExecute = [this](TObject*) { actRecordExecute(); };
    MidiFile1->OnFileChanged = [this](TObject*) { MidiFile1FileChanged(); };
    MidiFile1->OnFileModified = [](bool) {};
    MidiPlayer1->OnMidiEvent = [this](TKVMidiEvent* Event) { MidiPlayer1MidiEvent(Event); };
    MidiPlayer1->OnUpdateEvent = [this](TObject*, std::uint32_t iTime) { MidiPlayer1UpdateEvent(iTime); };
    MidiPlayer1->OnReadyEvent = [this](int) { MidiPlayer1ReadyEvent(); };
    MidiPlayer1->OnStatusChange = [this](TKVStatus Status) { MidiPlayer1StatusChange(Status); };
    MidiPlayer1->OnSpeedChange = [this](int Value) { lbSpeed->SetCaption(std::to_string(Value)); };
    MidiPlayer1->OnMeterChange = [this](const std::string& Value) { lbMeter->SetCaption(Value); };
    MidiPlayer1->OnVolumeChange = [](int Index, int Value) {
        if (frmOption) frmOption->ShowChannelVolume(Index, Value);
    };
    pbLength->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, std::int32_t X, std::int32_t) {
        pbLengthMouseDown(X);
    };
}

void TfrmMain::OpenMidiFile(const std::string& FileName)
{
    if (!FileExists(FileName)) return;
    // A file that is no song raises here, before anything was stopped, cleared or renamed: the
    // song in memory and the last file stay as they were.
    {
        TKVMidiFile probe(nullptr);
        probe.SetFileName(FileName);
        probe.ReadFile();
    }
    // A paused recording is closed too: its take would otherwise go on into the song opened.
    if (MidiPlayer1->Status() == stPlaying || MidiPlayer1->Status() == stRecording || actRecord->Tag() == 2)
        actStop->Execute();
    ReleaseSongTracks();
    MidiFile1->SetFileName(FileName);
    MidiFile1->ReadFile();
    ShowSong();
}

void TfrmMain::ShowSong()
{
    pbLength->SetRange(0, std::max(0, MidiFile1->MidiLength()));
    pbLength->SetPosition(0);
    SetDefaultOptions();
    ShowSongStart();
    if (frmRoll) {
        frmRoll->PianoRoll1->SetMidiFile(MidiFile1);
        frmRoll->UpdateFormSize();
    }
}

void TfrmMain::ReleaseSongTracks()
{
    // Every holder (roll, event list, editor, hands panel, player) hears of it through the song,
    // as it does again when the song is reset or read.
    MidiFile1->Watchers().TracksFreeing(this);
}

void TfrmMain::SetDefaultOptions()
{
    if (!frmOption) {
        TConsoleDebuger::DebugThis(Format("[%s] %s", {Name(), "SetDefaultOptions Failed!"}));
        return;
    }
    TKVPianoTracks* hands = frmOption->PianoTracks1;
    hands->ClearTracks();
    frmOption->PianoChannels1->ResetChannel(true);
    const int count = MidiFile1->TrackCount();
    for (int i = 0; i < count; ++i) {
        TMyMidiTrack* track = MidiFile1->GetTrack(i);
        hands->AddTrack(track);
        for (int channel = 0; channel < 16; ++channel)
            if (track->GetChannels(channel)) frmOption->PianoChannels1->DoChannelBox(channel, true);
    }
    for (int i = 0; i < count; ++i) {
        const TKVTrackHand current = hands->GetTrackHand(i);
        const TKVTrackHand hand = HandForTrack(count, i, current);
        if (hand != current) hands->SetTrackHand(i, hand);
    }
}

void TfrmMain::SentAllNotesOff()
{
    if (!frmOption) return;
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        if (!frmOption->PianoChannels1->GetChannelActive(channel)) continue;
        const auto status = static_cast<std::uint8_t>(0xB0 + channel);
        MidiDevices1->SendMidiShort(status, AllNotesOffController, 0);
        PianoKeyboard1->DoMidiShort(status, AllNotesOffController, 0);
    }
}

void TfrmMain::EndEverySound()
{
    if (frmRoll) frmRoll->PianoRoll1->ReleaseSoundingNotes();
    SilenceEveryChannel();
}

void TfrmMain::SilenceEveryChannel()
{
    for (std::uint8_t channel = 0; channel < 16; ++channel)
        MidiDevices1->SendMidiShort(static_cast<std::uint8_t>(0xB0 + channel), AllNotesOffController, 0);
    PianoKeyboard1->ResetPianoKeys();
}

void TfrmMain::ShowSongStart()
{
    const TKVSongStart start = SongStart(*MidiFile1);
    MidiPlayer1->SetSpeed(start.Speed);
    lbSpeed->SetCaption(std::to_string(start.Speed));
    lbMeter->SetCaption(start.Meter);
}

void TfrmMain::actOpenExecute()
{
    const auto chosen = FileDialog()({false, OpenFilter, ".mid", ""});
    if (chosen) OpenMidiFile(*chosen);
}

void TfrmMain::actSaveExecute()
{
    if (!MidiFile1->FileName().empty()) MidiFile1->WriteFile();
}

void TfrmMain::actSaveAsExecute()
{
    const auto chosen = FileDialog()({true, SaveFilter, ".mid", ""});
    if (!chosen) return;
    MidiFile1->SetFileName(*chosen);
    actSave->Execute();
}

void TfrmMain::MidiFile1FileChanged()
{
    const std::string& name = MidiFile1->FileName();
    lbFile->SetCaption(name.substr(FolderOf(name).size()));
    lbFile->SetHint(name);
    actSave->SetEnabled(!name.empty());
}

void TfrmMain::SetActionState(TAction* Action, int Tag, int ImageIndex, const char* Caption)
{
    Action->SetTag(Tag);
    Action->SetImageIndex(ImageIndex);
    Action->SetCaption(ResStr(Caption));
    Action->SetHint(ResStr(Caption));
}

void TfrmMain::actPlayExecute()
{
    if (!FileExists(MidiFile1->FileName())) {
        StatusBar1->SetPanelText(1, Format(ResStr("File not found!"), {MidiFile1->FileName()}));
        return;
    }
    switch (actPlay->Tag()) {
    case 0:
        EndEverySound();
        MidiPlayer1->Play();
        SetActionState(actPlay, 1, 1, "Pause");
        break;
    case 1:
        MidiPlayer1->Pause();
        EndEverySound();
        SetActionState(actPlay, 2, 0, "Resume");
        break;
    default:
        EndEverySound();
        MidiPlayer1->ContinuePlaying();
        SetActionState(actPlay, 1, 1, "Pause");
        break;
    }
}

void TfrmMain::actStopExecute()
{
    const TKVStatus status = MidiPlayer1->Status();
    // A paused recording is closed and written as a running one is, so the take is not lost.
    const bool recording = status == stRecording || (status == stPaused && actRecord->Tag() == 2);
    if (recording) CloseRecording();
    else if (status == stPlaying || status == stPaused) MidiPlayer1->Stop();
    SentAllNotesOff();
    MidiDevices1->ResetMidiOut();
    PianoKeyboard1->ResetPianoKeys();
    if (frmRoll) frmRoll->PianoRoll1->Clear();
    SetActionState(actPlay, 0, 0, "Play");
    SetActionState(actRecord, 0, 2, "Record");
    pbLength->SetPosition(0);
    lbTime->SetCaption("0:00:00.000");
}

void TfrmMain::CloseRecording()
{
    MidiPlayer1->Stop();
    actRecord->SetTag(0); // the take is closed: reading it back below stops nothing more
    if (TMyMidiTrack* track = MidiFile1->GetTrack(MidiFile1->TrackCount() - 1)) track->PutEndEvent();
    MidiFile1->WriteFile();
    OpenMidiFile(MidiFile1->FileName());
}

void TfrmMain::actRecordExecute()
{
    switch (actRecord->Tag()) {
    case 0: {
        {
            auto dialog = std::make_unique<TfrmRecord>(this, this);
            frmRecord = dialog.get();
            ShowFormAbove(dialog.get(), nullptr);
            dialog->Hide();
            dialog->ShowModal();
        }
        frmRecord = nullptr;
        if (RecordSettings.Cancelled) return;
        CheckRecordSettings(RecordSettings, *MidiFile1);
        ReleaseSongTracks();
        PrepareRecordSong(*MidiFile1, RecordSettings);
        MidiFile1->SetFileName(ProgramFolder() + RecordFileName);
        try {
            MidiFile1->WriteFile();
        } catch (...) {
            // Nothing is recorded, but the song holds the new tracks: the views show them.
            ShowSong();
            throw;
        }
        OpenMidiFile(MidiFile1->FileName());
        MidiPlayer1->StartRecording();
        MidiPlayer1->SetPatches(RecordSettings.Channel, MidiPlayer1->Patches());
        SetActionState(actRecord, 1, 1, "Pause");
        break;
    }
    case 1:
        MidiPlayer1->Pause();
        SetActionState(actRecord, 2, 2, "Resume");
        break;
    default:
        MidiPlayer1->ContinueRecording();
        SetActionState(actRecord, 1, 1, "Pause");
        break;
    }
}

void TfrmMain::pbLengthMouseDown(std::int32_t X)
{
    if (MidiPlayer1->Status() == stPlaying && pbLength->Width() > 0) {
        // The seek passes over the note-offs of what sounds now, on whatever channel it sounds.
        SilenceEveryChannel();
        MidiPlayer1->SetCurrentTime(static_cast<double>(pbLength->Max()) * (static_cast<double>(X) / pbLength->Width()));
    }
    MidiDevices1->SetMidiVolume(static_cast<std::uint16_t>(trbVolume->Position()));
}

void TfrmMain::DroppedFiles(HDROP Drop)
{
    // The drop's handle is released whatever opening does.
    struct TDropRelease {
        HDROP Drop;
        ~TDropRelease() { DragFinish(Drop); }
    } release{Drop};
    wchar_t name[MAX_PATH + 1] = {};
    if (DragQueryFileW(Drop, 0, name, MAX_PATH) == 0) return;
    const std::string file = WideToUtf8(name);
    if (IsSongFileName(file)) OpenMidiFile(file);
}

void TfrmMain::MidiPlayer1MidiEvent(TKVMidiEvent* Event)
{
    // Meta events never go out: a synthesiser takes $FF as System Reset. Tempo, meter and key
    // reach the read-out through the player's own events.
    if (!Event || Event->Event() == 0xFF) return;
    if (IsSysExEvent(Event->Event())) {
        const std::string message = SysExMessage(*Event);
        if (!message.empty()) MidiDevices1->SendMidiSysEx(message);
        return;
    }
    MidiDevices1->SendMidiShort(Event->Event(), Event->Data1(), Event->Data2());
    // Notes light at the pitch they were sent with; other messages keep their data bytes.
    const auto lit = IsNoteMessage(Event->Event()) ? static_cast<std::uint8_t>(Event->Data1() + MidiDevices1->MidiKey())
                                                  : Event->Data1();
    const TColor colour = frmOption ? frmOption->GetHandColor(*Event) : PianoKeyboard1->PianoColor();
    PianoKeyboard1->DoMidiShort(Event->Event(), lit, Event->Data2(), colour);
}

void TfrmMain::MidiPlayer1UpdateEvent(std::uint32_t iTime)
{
    // The tick that played the song's end has stopped the player already: the read-out stays reset.
    if (MidiPlayer1->Status() != stPlaying && MidiPlayer1->Status() != stRecording) return;
    lbTime->SetCaption(MsToTimeText(static_cast<std::int32_t>(iTime)));
    const auto position = static_cast<std::int32_t>(Round(MidiPlayer1->CurrentTime()));
    pbLength->SetPosition(position);
    if (frmRoll) frmRoll->PianoRoll1->SetCurrentTime(position);
    if (MidiFile1->MidiLength() < MidiPlayer1->CurrentTime() && actRepeat->Checked()) {
        actStop->Execute();
        actPlay->Execute();
    }
}

void TfrmMain::MidiPlayer1ReadyEvent()
{
    for (int i = 0; i < MidiFile1->TrackCount(); ++i)
        if (!MidiFile1->GetTrack(i)->TrackEnd()) return;
    actStop->Execute();
    // Every track ends before the position passes the song's length, so Repeat starts the song
    // again here too; after the player has finished the tick that reported the end.
    if (actRepeat->Checked())
        RunOnInterfaceThread(
            [this] {
                if (actPlay->Tag() == 0) actPlay->Execute();
            },
            true);
}

void TfrmMain::MidiPlayer1StatusChange(TKVStatus Status)
{
    switch (Status) {
    case stPlaying:
        StatusBar1->SetPanelText(1, ResStr("Play"));
        actRecord->SetEnabled(false);
        actOpen->SetEnabled(false);
        break;
    case stRecording:
        StatusBar1->SetPanelText(1, ResStr("Record"));
        actPlay->SetEnabled(false);
        actOpen->SetEnabled(false);
        break;
    case stPaused: StatusBar1->SetPanelText(1, ResStr("Pause")); break;
    case stStop:
        StatusBar1->SetPanelText(1, ResStr("Stop"));
        actOpen->SetEnabled(true);
        actPlay->SetEnabled(true);
        actRecord->SetEnabled(true);
        break;
    default: break;
    }
}

} // namespace kv
