#pragma once
// Plays a song in real time and records into it. Every event that becomes due goes to
// OnMidiEvent; tempo, meter, key, volume, end-of-track and state changes are reported through
// their own events. A periodic timer posts a message to the player's hidden window; each tick
// then runs on the interface thread and recomputes the position from the system's tick count,
// so late or lost ticks do not shift the song in time.
//
// While recording, messages handed to PutMidiShort (from any thread) are stamped with the song
// tick at which they were played and appended to the last track on the interface thread.
//
// The player watches its song: when tracks are re-sorted while it plays (an edit in the roll, the
// event list or the editor), it finds its place in each track again by time, so that no event is
// skipped or played twice, and ends at once a note it started whose note-off no longer lies ahead.
#include "base/TComponent.h"
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiEventTypes.h"
#include "midi/kvMidiFile.h"
#include "midi/kvMidiMessageWindow.h"
#include "midi/kvMidiRecordQueue.h"
#include "midi/kvMidiTimer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kv {

class TKVMidiPlayer : public TComponent {
public:
#ifdef _WIN32
    // On the system's multimedia timer.
    explicit TKVMidiPlayer(TComponent* AOwner);
#endif
    // On the given time services, which must outlive the player.
    TKVMidiPlayer(TComponent* AOwner, TKVMidiTimer& Timer);
    ~TKVMidiPlayer() override;
    std::string ClassName() const override { return "TKVMidiPlayer"; }

    // Play, StartRecording and the continues raise an Exception, and leave the state as it
    // was, when the song's pulses per quarter note is 0 or less. A start while the timer runs
    // replaces the running timer.
    void Play();
    void Pause();
    void Stop();
    void ContinuePlaying();
    void StartRecording();
    void ContinueRecording();

    // Records a short message at the current recording time. Any thread; ignored while the
    // player is not recording.
    void PutMidiShort(std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2);
    // Appends the event to the last track of the song with its DeltaTime as set, after the
    // messages recorded before it. Interface thread. Without a song or track the event is freed.
    void PutMidiEvent(std::unique_ptr<TKVMidiEvent> mEvent);
    // A controller-7 message on channel Index, handed to OnMidiEvent; recorded while recording.
    void SetVolume(std::int32_t Index, std::int32_t Value);
    // Patches := Value, and a program change to it on channel Index, handed to OnMidiEvent;
    // recorded while recording.
    void SetPatches(std::int32_t Index, std::int32_t Value);

    TKVMidiFile* MidiFile() const { return FMidiFile; }
    void SetMidiFile(TKVMidiFile* Value);
    // Beats per minute; 120, the file format's default, until a tempo event is played.
    std::int32_t Speed() const { return FSpeed; }
    void SetSpeed(std::int32_t Value) { FSpeed = Value; }
    double SpeedRatio() const { return FSpeedRatio; }
    void SetSpeedRatio(double Value) { FSpeedRatio = Value; }
    std::uint16_t Patches() const { return FPatches; }
    void SetPatches(std::uint16_t Value) { FPatches = Value; }
    const std::string& Meter() const { return FMeter; }
    const std::string& KeySignature() const { return FKeySignature; }
    TKVStatus Status() const { return FStatus; }
    // The position in ticks; setting it seeks, by the tick difference at the current speed.
    double CurrentTime() const { return FCurrentTime; }
    void SetCurrentTime(double Value);
    // The timer's period in milliseconds, chosen when the timer was last started.
    std::int32_t TimerPeriod() const { return FTimerPeriod; }

    TOnMidiEvent OnMidiEvent;
    TOnSpeedChange OnSpeedChange;
    TOnMeterChange OnMeterChange;
    TOnKeySignatureChange OnKeySignatureChange;
    TOnVolumeChange OnVolumeChange;
    TOnUpdateEvent OnUpdateEvent;
    TOnReadyEvent OnReadyEvent;
    TOnStatusChange OnStatusChange;

private:
    void ChangeStatus(TKVStatus Value);
    void ChangeStatusAndStopTimer(TKVStatus Value);
    void CheckPlayable() const;
    void StartTimer();
    void StopTimer();
    void DoMidiEvent(int TrackIndex, TKVMidiEvent& Event);
    double MsPerTick() const;
    bool IsDue(const TKVMidiEvent& Event) const;
    void UpdateCurrentTime(std::uint32_t Ms);
    void SetPosition(std::uint32_t Ms);
    void Rewind();
    void ResetSongState();
    void ChaseTracks();
    void PlayTick(std::uint32_t Ms);
    void RecordTick(std::uint32_t Ms);
    void TimerTick();
    void PlayerWndProc(std::uint32_t Msg, std::uintptr_t WParam, std::intptr_t LParam);
    void StartRecordClock();
    // EndsRecording: notes still held are ended where the clock stops.
    void StopRecordClock(bool EndsRecording);
    TMyMidiTrack* RecordTrack() const;
    void AppendRecorded();
    void AppendToRecordTrack(std::unique_ptr<TKVMidiEvent> Event);
    void HandOut(std::unique_ptr<TKVMidiEvent> Event);
    // Keeping the place in an edited song.
    void SongEdited(const TKVSongEdit& Edit);
    void KeepPlace();
    void NoteHandedOut(int TrackIndex, const TKVMidiEvent& Event);
    void EndNotesWithoutOff();

    // A note-on handed out whose note-off has not been.
    struct TSoundingNote {
        int Track;
        std::uint8_t Channel;
        std::uint8_t Pitch;
    };

    TKVMidiTimer& FTimer;
    TKVMidiFile* FMidiFile = nullptr;
    std::uint16_t FPatches = 0;
    TKVStatus FStatus = stReady;
    std::uint32_t FStartTime = 0;
    std::uint32_t FMidiEventTime = 0;
    double FCurrentTime = 0.0;
    std::int32_t FSpeed = 120;
    double FSpeedRatio = 1.0;
    std::string FMeter = "4/4";
    std::string FKeySignature;
    TKVMidiRecordQueue FRecordQueue;
    std::unique_ptr<TKVMessageWindow> FMidiPlayerHandle;
    std::uint32_t FMIDITimerID = 0; // the running timer; 0 when none runs
    std::int32_t FTimerPeriod = 0;
    // Every event before this tick has been handed out (or passed) while playing.
    std::int64_t FDueBefore = 0;
    std::vector<TSoundingNote> FSoundingNotes;
    TKVSongWatch FSongWatch;
};

} // namespace kv
