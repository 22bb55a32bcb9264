#include "midi/kvMidiPlayer.h"

#include "base/Exceptions.h"
#include "base/ExceptionHandler.h"
#include "base/Format.h"
#include "base/Rounding.h"
#include "midi/kvMidiTempoMap.h"
#include "midi/kvMidiTicks.h"

#include <algorithm>
#include <utility>

namespace kv {

namespace {

// The file format's defaults, in force until the song's own meta events are played.
constexpr std::int32_t DefaultSpeed = 120;
const char* const DefaultMeter = "4/4";

constexpr std::uint8_t MetaStatus = 0xFF;

std::unique_ptr<TKVMidiEvent> MakeShortEvent(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    auto event = std::make_unique<TKVMidiEvent>();
    event->SetEvent(status);
    event->SetData1(data1);
    event->SetData2(data2);
    return event;
}

} // namespace

TKVMidiPlayer::TKVMidiPlayer(TComponent* AOwner, TKVMidiTimer& Timer) : TComponent(AOwner), FTimer(Timer)
{
    FMidiPlayerHandle = FTimer.AllocateHWnd([this](std::uint32_t Msg, std::uintptr_t WParam, std::intptr_t LParam) {
        PlayerWndProc(Msg, WParam, LParam);
    });
}

TKVMidiPlayer::~TKVMidiPlayer()
{
    StopTimer();
    FRecordQueue.Stop(FTimer.GetTickCount());
    FMidiPlayerHandle.reset();
}

void TKVMidiPlayer::Play()
{
    CheckPlayable();
    ChangeStatus(stPlaying);
    Rewind();
    StartTimer();
}

void TKVMidiPlayer::Pause()
{
    // A recording continues from the moment of the pause, not from the last tick before it.
    if (FStatus == stRecording) FMidiEventTime = FTimer.GetTickCount() - FStartTime;
    ChangeStatusAndStopTimer(stPaused);
}

void TKVMidiPlayer::Stop()
{
    ChangeStatusAndStopTimer(stStop);
}

void TKVMidiPlayer::ContinuePlaying()
{
    CheckPlayable();
    ChangeStatus(stPlaying);
    SetPosition(FMidiEventTime);
    StartTimer();
}

void TKVMidiPlayer::StartRecording()
{
    CheckPlayable();
    ChangeStatus(stRecording);
    // While recording, the record track's TrackTime is its running time, not a play index.
    if (TMyMidiTrack* track = RecordTrack()) track->SetTrackTime(track->TrackLength());
    Rewind();
    StartTimer();
}

void TKVMidiPlayer::ContinueRecording()
{
    CheckPlayable();
    ChangeStatus(stRecording);
    SetPosition(FMidiEventTime);
    StartTimer();
}

void TKVMidiPlayer::PutMidiShort(std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2)
{
    FRecordQueue.Put(MakeShortEvent(Event, Data1, Data2), FTimer.GetTickCount());
}

void TKVMidiPlayer::PutMidiEvent(std::unique_ptr<TKVMidiEvent> mEvent)
{
    AppendRecorded();
    AppendToRecordTrack(std::move(mEvent));
}

void TKVMidiPlayer::SetVolume(std::int32_t Index, std::int32_t Value)
{
    HandOut(MakeShortEvent(static_cast<std::uint8_t>(0xB0 + Index), 7, static_cast<std::uint8_t>(Value)));
}

void TKVMidiPlayer::SetPatches(std::int32_t Index, std::int32_t Value)
{
    FPatches = static_cast<std::uint16_t>(Value);
    HandOut(MakeShortEvent(static_cast<std::uint8_t>(0xC0 + Index), static_cast<std::uint8_t>(FPatches), 0));
}

void TKVMidiPlayer::SetCurrentTime(double Value)
{
    if (FMidiFile == nullptr) return;
    const std::int64_t difference = Round(MsPerTick() * (Value - FCurrentTime));
    // The target wraps with the tick count; UpdateCurrentTime takes it back as a signed difference.
    SetPosition(FMidiEventTime + static_cast<std::uint32_t>(difference));
}

void TKVMidiPlayer::ChangeStatus(TKVStatus Value)
{
    // A pause keeps a recording going; anything else ends it, before the status handlers see
    // (and may save) the song.
    if (Value != stRecording) StopRecordClock(Value != stPaused);
    FStatus = Value;
    if (OnStatusChange) OnStatusChange(Value);
}

void TKVMidiPlayer::ChangeStatusAndStopTimer(TKVStatus Value)
{
    // The timer ends even when a status handler raises.
    try {
        ChangeStatus(Value);
    } catch (...) {
        StopTimer();
        throw;
    }
    StopTimer();
}

void TKVMidiPlayer::CheckPlayable() const
{
    if (FMidiFile == nullptr) return;
    const std::int32_t ppq = FMidiFile->MidiHeader().PulsesPerQuarter;
    if (ppq <= 0)
        throw Exception(Format("Cannot play the song \"%s\": its pulses per quarter note are %d.",
                               {FMidiFile->FileName(), ppq}));
}

void TKVMidiPlayer::StartTimer()
{
    StopTimer(); // a start while a timer runs replaces it
    const std::uint32_t period = TimerPeriodFor(FTimer.GetDevCaps());
    FTimerPeriod = static_cast<std::int32_t>(period);
    FTimer.BeginPeriod(period);
    FMIDITimerID = FTimer.SetEvent(period, period, *FMidiPlayerHandle);
    if (FMIDITimerID == 0) FTimer.EndPeriod(period);
}

void TKVMidiPlayer::StopTimer()
{
    if (FMIDITimerID == 0) return;
    FTimer.KillEvent(FMIDITimerID);
    FTimer.EndPeriod(static_cast<std::uint32_t>(FTimerPeriod));
    FMIDITimerID = 0;
}

void TKVMidiPlayer::DoMidiEvent(int TrackIndex, TKVMidiEvent& Event)
{
    TMyMidiTrack* track = FMidiFile->GetTrack(TrackIndex);
    if (Event.Event() == MetaStatus) {
        switch (Event.Data1()) {
        case 0x2F:
            if (track != nullptr) track->SetTrackEnd(true);
            if (OnReadyEvent) OnReadyEvent(TrackIndex);
            break;
        case 0x51:
            FSpeed = TempoToBpm(Event.Letter());
            if (OnSpeedChange) OnSpeedChange(FSpeed);
            break;
        case 0x58:
            FMeter = TimeSignatureToText(Event.Letter());
            if (OnMeterChange) OnMeterChange(FMeter);
            break;
        case 0x59:
            FKeySignature = KeySignatureToText(Event.Letter());
            if (OnKeySignatureChange) OnKeySignatureChange(FKeySignature);
            break;
        default:
            break;
        }
        return;
    }
    if (track != nullptr) track->SetTrackEnd(false);
    if ((Event.Event() & 0xF0) == 0xB0 && Event.Data1() == 7 && OnVolumeChange)
        OnVolumeChange(Event.Event() & 0x0F, Event.Data2());
}

double TKVMidiPlayer::MsPerTick() const
{
    CheckPlayable();
    const double beatsPerMinute = FSpeed * FSpeedRatio;
    if (beatsPerMinute == 0.0) throw EDivByZero();
    return 60000.0 / beatsPerMinute / FMidiFile->MidiHeader().PulsesPerQuarter;
}

bool TKVMidiPlayer::IsDue(const TKVMidiEvent& Event) const
{
    // An event exactly at the rounded position waits for the next tick.
    return Event.StartTime() < Round(FCurrentTime);
}

void TKVMidiPlayer::UpdateCurrentTime(std::uint32_t Ms)
{
    if (FMidiFile == nullptr) return;
    // Both times wrap with the tick count; a seek backwards gives a negative difference.
    const auto difference = static_cast<std::int32_t>(Ms - FMidiEventTime);
    if (difference == 0) return;
    FCurrentTime += difference / MsPerTick();
}

void TKVMidiPlayer::Rewind()
{
    FMidiEventTime = 0;
    FCurrentTime = 0.0;
    SetPosition(0);
}

void TKVMidiPlayer::SetPosition(std::uint32_t Ms)
{
    if (FMidiFile == nullptr) return;
    UpdateCurrentTime(Ms);
    FStartTime = FTimer.GetTickCount() - Ms;
    if (FStatus == stPlaying) ChaseTracks();
    if (FStatus == stRecording) StartRecordClock();
    FMidiEventTime = Ms;
}

void TKVMidiPlayer::ResetSongState()
{
    if (FSpeed != DefaultSpeed) {
        FSpeed = DefaultSpeed;
        if (OnSpeedChange) OnSpeedChange(FSpeed);
    }
    if (FMeter != DefaultMeter) {
        FMeter = DefaultMeter;
        if (OnMeterChange) OnMeterChange(FMeter);
    }
    if (!FKeySignature.empty()) {
        FKeySignature.clear();
        if (OnKeySignatureChange) OnKeySignatureChange(FKeySignature);
    }
}

void TKVMidiPlayer::ChaseTracks()
{
    // Tempo, meter and key come from the song alone: what an earlier song or a later part of
    // this one left behind does not hold at the new position.
    ResetSongState();
    for (int t = 0; t < FMidiFile->TrackCount(); ++t) {
        TMyMidiTrack& track = *FMidiFile->GetTrack(t);
        track.SetTrackTime(0);
        track.SetTrackEnd(false);
    }
    for (int t = 0; t < FMidiFile->TrackCount(); ++t) {
        TMyMidiTrack* track = FMidiFile->GetTrack(t);
        if (track == nullptr) continue;
        for (TKVMidiEvent* event = track->GetEvent(track->TrackTime()); event != nullptr && IsDue(*event);
             event = track->GetEvent(track->TrackTime())) {
            DoMidiEvent(t, *event);
            track->SetTrackTime(track->TrackTime() + 1);
        }
    }
    FDueBefore = Round(FCurrentTime);
    FSoundingNotes.clear();
}

void TKVMidiPlayer::PlayTick(std::uint32_t Ms)
{
    if (FMidiFile == nullptr) return;
    UpdateCurrentTime(Ms);
    for (int t = 0; t < FMidiFile->TrackCount(); ++t) {
        TMyMidiTrack* track = FMidiFile->GetTrack(t);
        if (track == nullptr) continue; // a handler removed tracks
        for (TKVMidiEvent* event = track->GetEvent(track->TrackTime()); event != nullptr && IsDue(*event);
             event = track->GetEvent(track->TrackTime())) {
            DoMidiEvent(t, *event);
            if (track->Active() && OnMidiEvent) {
                NoteHandedOut(t, *event);
                OnMidiEvent(event);
            }
            track->SetTrackTime(track->TrackTime() + 1);
        }
    }
    FDueBefore = Round(FCurrentTime);
    FMidiEventTime = Ms;
}

void TKVMidiPlayer::RecordTick(std::uint32_t Ms)
{
    if (FMidiFile == nullptr) return;
    AppendRecorded();
    FMidiEventTime = Ms;
}

void TKVMidiPlayer::TimerTick()
{
    const std::uint32_t elapsed = FTimer.GetTickCount() - FStartTime;
    if (FStatus == stPlaying) {
        PlayTick(elapsed);
        if (OnUpdateEvent) OnUpdateEvent(this, elapsed);
    }
    if (FStatus == stRecording) {
        RecordTick(elapsed);
        if (OnUpdateEvent) OnUpdateEvent(this, elapsed);
    }
}

void TKVMidiPlayer::PlayerWndProc(std::uint32_t Msg, std::uintptr_t, std::intptr_t)
{
    if (Msg != WM_MIDITIMER) return;
    try {
        TimerTick();
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        try {
            Stop();
        } catch (...) {
            HandleApplicationException(std::current_exception());
        }
        HandleApplicationException(failure);
    }
}

TMyMidiTrack* TKVMidiPlayer::RecordTrack() const
{
    if (FMidiFile == nullptr || FMidiFile->TrackCount() == 0) return nullptr;
    return FMidiFile->GetTrack(FMidiFile->TrackCount() - 1);
}

void TKVMidiPlayer::StartRecordClock()
{
    FRecordQueue.Start(FStartTime, TKVTempoMap::FromSong(*FMidiFile));
}

void TKVMidiPlayer::StopRecordClock(bool EndsRecording)
{
    FRecordQueue.Stop(FTimer.GetTickCount());
    if (EndsRecording) FRecordQueue.EndHeldNotes();
    AppendRecorded();
}

void TKVMidiPlayer::AppendRecorded()
{
    for (TKVMidiRecordQueue::Recorded& recorded : FRecordQueue.Take()) {
        TMyMidiTrack* track = RecordTrack();
        if (track == nullptr) return; // the song has no track to record into: the events are freed
        // A message played before the track's running time (after a seek back) goes at that time.
        recorded.Event->SetDeltaTime(std::max<std::int32_t>(0, SubTicks(recorded.Tick, track->TrackTime())));
        track->PutEvent(std::move(recorded.Event));
    }
}

void TKVMidiPlayer::AppendToRecordTrack(std::unique_ptr<TKVMidiEvent> Event)
{
    if (TMyMidiTrack* track = RecordTrack()) track->PutEvent(std::move(Event));
}

void TKVMidiPlayer::HandOut(std::unique_ptr<TKVMidiEvent> Event)
{
    if (OnMidiEvent) OnMidiEvent(Event.get());
    if (FStatus != stRecording) return;
    Event->SetDeltaTime(0);
    PutMidiEvent(std::move(Event));
}

} // namespace kv
