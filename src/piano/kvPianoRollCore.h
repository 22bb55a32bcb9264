#pragma once
// Everything the piano roll decides without a window: the song it shows and the list of its
// events, zoom and scroll positions, the play cursor and the notes it lights, the selection by
// hovering and by a rubber band, and the press/move/release machine that auditions, scrubs,
// moves, stretches, inserts and deletes notes. TKVPianoRoll adds the window, the painting and the
// system calls through the protected hooks.
//
// Sounding notes: every note-on the roll reports (a lit note, an auditioned note) is followed by
// exactly one note-off, reported from a copy the roll keeps, so it never depends on a paint or on
// the event still existing. Call ReleaseSoundingNotes when the roll is hidden.
//
// The roll watches its song: before others free events it holds (in its list, its selection, its
// lit or auditioned notes) it lets go of them, and after the song changed it rebuilds its list.
// Its own edits reach the song's other holders the same way.
#include "base/TCriticalSection.h"
#include "gui/TRect.h"
#include "gui/TShiftState.h"
#include "midi/kvMidiEventTypes.h"
#include "midi/kvMidiFile.h"
#include "piano/kvPianoRollGeometry.h"
#include "piano/kvPianoRollNoteIndex.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv {

enum TPlayMode : std::uint8_t { pmPlay, pmEdit, pmInsert, pmDelete };
enum TMoveType : std::uint8_t { mtSelect, mtPosition, mtLength };
enum TRollPointerShape : std::uint8_t { rpDefault, rpSizeWE, rpHand };

using TOnSelectionChange = std::function<void(std::int32_t Count, TKVMidiEvent* Event)>;

constexpr std::int32_t RollMinNoteLength = RollDefaultQuarterWidth / 8;
constexpr std::uint8_t RollInsertVelocity = 80;
constexpr std::uint8_t RollInsertOffVelocity = 64;

// A note the roll can draw: a note-on with its note-off, and the index of the track holding it.
struct TKVRollNote {
    TKVMidiEvent* On = nullptr;
    TKVMidiEvent* Off = nullptr;
    std::int32_t TrackIndex = 0;
    TRect Rect;
};

class TKVPianoRollCore {
public:
    TKVPianoRollCore();
    virtual ~TKVPianoRollCore() = default;
    TKVPianoRollCore(const TKVPianoRollCore&) = delete;
    TKVPianoRollCore& operator=(const TKVPianoRollCore&) = delete;

    // The song shown, not owned. Empties the selection, releases lit and auditioned notes,
    // removes the cursor and rebuilds the event list (empty unless the song is ready).
    TKVMidiFile* MidiFile() const { return FMidiFile; }
    void SetMidiFile(TKVMidiFile* Value);
    // A song is shown: set, read, and with at least one pulse per quarter note.
    bool SongReady() const;
    std::int32_t PulsesPerQuarter() const;

    const std::string& InfoText() const { return FInfoText; }
    void SetInfoText(const std::string& Value);
    TPlayMode PlayMode() const { return FPlayMode; }
    void SetPlayMode(TPlayMode Value);
    // Zoom, kept within the sliders' ranges (16..256 pixels per quarter note, 2..20 pixels).
    std::int32_t QuarterNoteWidth() const { return FQuarterNoteWidth; }
    void SetQuarterNoteWidth(std::int32_t Value);
    std::int32_t QuarterNoteHeight() const { return FQuarterNoteHeight; }
    void SetQuarterNoteHeight(std::int32_t Value);
    std::int32_t NoteRectHeight() const { return FQuarterNoteHeight + 2 * RollBorder; }
    std::int32_t PitchRange() const;
    std::int32_t AutoRectHeight() const;
    std::int32_t NotePosition() const { return FNotePosition; }
    void SetNotePosition(std::int32_t Value);
    // The play cursor in ticks (-1: none); scrolls so that it stays in view.
    std::int32_t CurrentTime() const { return FCurrentTime; }
    void SetCurrentTime(std::int32_t Value);
    // The user put the cursor where it is (a press or drag on the roll in pmPlay), rather than
    // the owner; false again once the roll releases its lit notes or the owner moves the cursor.
    bool CursorPlacedByUser() const { return FCursorPlacedByUser; }

    // The scroll bars: position and range (minimum 0).
    std::int32_t HorzPosition() const { return FHorzPosition; }
    std::int32_t HorzMax() const { return FHorzMax; }
    void SetHorzPosition(std::int32_t Value);
    std::int32_t VertPosition() const { return FVertPosition; }
    std::int32_t VertMax() const { return FVertMax; }
    void SetVertPosition(std::int32_t Value);
    // The user moved a scroll bar (the position is the bar's own) or turned the wheel.
    void ScrollBarScrolled(bool Vertical, std::int32_t Position);
    void MouseWheel(bool Down);
    // The reset button: every pitch of the song fits, 64 pixels per quarter note.
    void ResetZoom();

    // The paint box's size, which the geometry follows.
    void SetPaintBoxSize(std::int32_t Width, std::int32_t Height);
    TKVPianoRollGeometry Geometry() const;
    std::int32_t PixelsToTicks(std::int64_t Pixels) const { return Geometry().PixelsToTicks(Pixels); }
    std::int32_t TicksToPixels(std::int64_t Ticks) const { return Geometry().TicksToPixels(Ticks); }
    // Quarter notes to ticks and back at the song's resolution; 0 without a song.
    std::int32_t BeatsToTicks(double Beats) const;
    double TicksToBeats(std::int32_t Ticks) const;
    // The bar of a note-on; empty for nil or for a note-on without its note-off.
    TRect GetNoteRect(const TKVMidiEvent* Event) const;

    // Rebuilds the list from the song.
    void RebuildEventList();
    void UpdateScrollRanges();
    // Playing stopped: the selection is emptied and lit notes released.
    void Clear();
    // The roll is hidden or goes away: nothing it started may go on sounding.
    void ReleaseSoundingNotes();
    void ClearSelection();
    void ClearIndications();
    void Test() {}
    void UnDo() {}

    // Every event of every track (tracks in order), with the index of the track holding it.
    using TEntry = TKVRollEntry;
    const std::vector<TEntry>& MidiEventList() const { return FMidiEventList; }
    std::vector<TKVMidiEvent*> SelectedNotes();
    std::vector<TKVMidiEvent*> LitNotes();
    TRect SelectMouseRect() const { return FSelectMouseRect; }
    TMoveType MoveType() const { return FMoveType; }
    TRollPointerShape PointerShape() const { return FPointerShape; }
    const TKVMidiEvent& LastNoteRef() const { return *FLastNoteRef; }
    bool MouseDownL() const { return FMouseDownL; }

    void SelectNote(TKVMidiEvent* Event);
    void DeselectNote(TKVMidiEvent* Event);

    // The notes of the visible time range and rows, in event-list order, with their bars.
    std::vector<TKVRollNote> VisibleNotes() const;
    // What a paint decides before it draws: in pmPlay the notes under the cursor are lit (and
    // reported), in the edit modes the hover and band selection and the drag kind follow the
    // pointer. Returns the visible notes for drawing.
    std::vector<TKVRollNote> PaintPass();

    // The edits. Pitches stay within 0..127; an insert into a track the song lacks goes to its
    // last track.
    void InsertNote(std::uint8_t Track, std::uint8_t Channel, std::int32_t X, std::int32_t Y, std::int32_t Length);
    void MoveNote(TKVMidiEvent* Event, TMoveType Kind, std::int32_t X, std::int32_t Y);
    void DeleteNote(TKVMidiEvent* Event);

    // Mouse on the paint box (paint-box coordinates).
    void PaintBoxMouseDown(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y);
    void PaintBoxMouseMove(TShiftState Shift, std::int32_t X, std::int32_t Y);
    void PaintBoxMouseUp(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y);
    void PaintBoxDblClick();
    // The capture went elsewhere while a button was held: the drag ends without an edit.
    void MouseCaptureLost();

    TOnSelectionChange OnSelectionChange;
    TOnMidiEvent OnMidiEvent;
    TOnMidiEvent OnDblClickNote;

protected:
    // Hooks for the window.
    virtual void InvalidateRoll() {}
    // The pointer in paint-box coordinates, read from the system; natively where the last mouse
    // event was.
    virtual TPoint PointerPosition() const { return FLastMouse; }
    virtual void ConfineAndCapture(const TRect& /*NotesArea*/) {}
    virtual void FreeAndRelease() {}
    // A button is held on the paint box.
    virtual bool PaintBoxHasCapture() const { return FMouseDownL || FMouseDownR; }
    virtual void ScrollBarsChanged() {}
    virtual void ZoomChanged() {}
    virtual void PointerShapeChanged() {}

private:
    struct TLitNote {
        TKVMidiEvent* On;
        std::unique_ptr<TKVMidiEvent> OffCopy;
    };

    static std::unique_ptr<TKVMidiEvent> CopyOf(const TKVMidiEvent& Event);
    void Report(TKVMidiEvent* Event);
    bool AddToSelection(TKVMidiEvent* Event);
    bool RemoveFromSelection(TKVMidiEvent* Event);
    void UpdateHoverSelection(TKVMidiEvent* Event, const TRect& NoteRect, const TPoint& P);
    void ChooseMoveType(const TPoint& P);
    void UpdateIndication(const TKVRollNote& Note);
    // Lit notes whose time span no longer holds Time are released, seen or not.
    void ReleaseLitNotesAwayFrom(std::int32_t Time);
    void ReleaseLitNote(std::size_t Index);
    void ForgetLitNote(const TKVMidiEvent* Event);
    void StartAudition(TKVMidiEvent* Event);
    void EndAudition();
    void TakeTemplate(const TKVMidiEvent& Event);
    void SetPointerShape(TRollPointerShape Shape);
    void SetScrubTime(std::int32_t X);
    TMyMidiTrack* TrackHolding(const TKVMidiEvent* Event) const;
    std::int32_t RowsWithinRange(std::int32_t Rows) const;
    void MoveNoteBy(TKVMidiEvent* Event, TMoveType Kind, std::int32_t Ticks, std::int32_t Rows);
    void ApplyRelease(std::int32_t X, std::int32_t Y);
    // Deletes the notes, each track's at once.
    void DeleteNotes(const std::vector<TKVMidiEvent*>& Notes);
    void TrackChanged(TMyMidiTrack* Track, bool Rebuild);
    void FinishBatch();
    // The roll's own edit is done: the song's holders hear of it; Rescale after inserts and deletes.
    void EditDone(bool Rescale);
    // Deletes the events (note-ons with their note-offs) from the tracks given by the list: the
    // song's holders let go of them first.
    void DeleteFromTracks(const std::vector<std::vector<TKVMidiEvent*>>& ByTrack);
    void SongEdited(const TKVSongEdit& Edit);
    // The song frees events (or every event): nothing the roll keeps may point at them after.
    void LetGoOf(const TKVSongEdit& Edit);
    void EndDrag();
    // The list changed or a note's times did: the note index is rebuilt before it is next used.
    void NotesChanged() { FNoteIndexStale = true; }

    TKVMidiFile* FMidiFile = nullptr;
    std::vector<TEntry> FMidiEventList;
    mutable TKVRollNoteIndex FNoteIndex;
    mutable bool FNoteIndexStale = true;
    std::string FInfoText;
    TPlayMode FPlayMode = pmPlay;
    TMoveType FMoveType = mtSelect;
    TRollPointerShape FPointerShape = rpDefault;
    std::int32_t FQuarterNoteWidth = RollDefaultQuarterWidth;
    std::int32_t FQuarterNoteHeight = RollDefaultQuarterHeight;
    std::int32_t FNotePosition = 0;
    std::int32_t FCurrentTime = -1;
    bool FCursorPlacedByUser = false;
    std::int32_t FHorzPosition = 0;
    std::int32_t FHorzMax = 16777216;
    std::int32_t FVertPosition = 65;
    std::int32_t FVertMax = RollLastRow;
    std::int32_t FWidth = 483;
    std::int32_t FHeight = 283;

    TCriticalSection FCriticalSection; // guards the selection and the lit notes
    std::vector<TKVMidiEvent*> FSelectNoteList;
    std::vector<TLitNote> FIndicationNoteList;
    TRect FSelectMouseRect{};
    std::unique_ptr<TKVMidiEvent> FLastNoteRef;
    TKVMidiEvent* FAuditionNote = nullptr;
    std::unique_ptr<TKVMidiEvent> FAuditionOff;
    TPoint FOldPoint{};
    TPoint FLastMouse{};
    bool FMouseDownL = false;
    bool FMouseDownR = false;
    bool FConfined = false;
    // While a release applies its edit to many notes, tracks are re-sorted once at the end.
    bool FBatch = false;
    std::vector<TMyMidiTrack*> FBatchTracks;
    bool FBatchRebuild = false;
    // Last, so that it ends first: no change of the song is heard by a roll being destroyed.
    TKVSongWatch FSongWatch;
};

} // namespace kv
