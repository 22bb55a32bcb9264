#include "piano/kvPianoRollCore.h"

#include "base/Exceptions.h"
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiTicks.h"
#include "piano/kvPaintCommonGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace kv {

namespace {

constexpr std::int32_t InitialHorzMax = 16777216;
constexpr std::int32_t HorzSmallChange = 1;

bool IsPairedNoteOn(const TKVMidiEvent& Event)
{
    return Event.EventType() == etOn && Event.RelatedEvent() != nullptr;
}

std::uint8_t PitchWithin(std::int32_t Pitch)
{
    return static_cast<std::uint8_t>(std::clamp(Pitch, 0, 127));
}

} // namespace

TKVPianoRollCore::TKVPianoRollCore() : FLastNoteRef(std::make_unique<TKVMidiEvent>()) {}

std::unique_ptr<TKVMidiEvent> TKVPianoRollCore::CopyOf(const TKVMidiEvent& Event)
{
    auto copy = std::make_unique<TKVMidiEvent>();
    copy->Assign(Event);
    // A copy must not reach into the song: the event it points at may be freed.
    copy->SetRelatedEvent(nullptr);
    return copy;
}

void TKVPianoRollCore::Report(TKVMidiEvent* Event)
{
    if (OnMidiEvent && Event != nullptr) OnMidiEvent(Event);
}

// --- song -----------------------------------------------------------------------------------

bool TKVPianoRollCore::SongReady() const
{
    return FMidiFile != nullptr && FMidiFile->FileReady() && FMidiFile->MidiHeader().PulsesPerQuarter >= 1;
}

std::int32_t TKVPianoRollCore::PulsesPerQuarter() const
{
    return SongReady() ? FMidiFile->MidiHeader().PulsesPerQuarter : 0;
}

void TKVPianoRollCore::SetMidiFile(TKVMidiFile* Value)
{
    ClearSelection();
    ReleaseSoundingNotes();
    FSongWatch.Reset();
    FMidiFile = Value;
    if (Value != nullptr) FSongWatch = Value->Watchers().Watch([this](const TKVSongEdit& Edit) { SongEdited(Edit); });
    // The list holds the song's own events: it is never kept across a change of song.
    FMidiEventList.clear();
    NotesChanged();
    SetCurrentTime(-1);
    RebuildEventList();
    UpdateScrollRanges();
}

void TKVPianoRollCore::SongEdited(const TKVSongEdit& Edit)
{
    switch (Edit.Change) {
    case scEventsFreeing:
    case scTracksFreeing: LetGoOf(Edit); break;
    case scEventsChanged:
        RebuildEventList();
        // The roll's own moves keep the view where it is; other edits may change the song's range.
        if (Edit.Source != this) UpdateScrollRanges();
        InvalidateRoll();
        break;
    case scTracksReplaced:
        SetCurrentTime(-1);
        RebuildEventList();
        UpdateScrollRanges();
        break;
    }
}

void TKVPianoRollCore::LetGoOf(const TKVSongEdit& Edit)
{
    // The list must not keep the freed events, even for a moment.
    FMidiEventList.clear();
    NotesChanged();
    if (Edit.Change == scTracksFreeing) {
        ClearSelection();
        ReleaseSoundingNotes();
        return;
    }
    for (TKVMidiEvent* note : SelectedNotes())
        if (Edit.Frees(note)) DeselectNote(note);
    if (Edit.Frees(FAuditionNote)) EndAudition();
    for (TKVMidiEvent* note : LitNotes())
        if (Edit.Frees(note)) ForgetLitNote(note);
}

void TKVPianoRollCore::RebuildEventList()
{
    FMidiEventList.clear();
    NotesChanged();
    if (!SongReady()) return;
    for (int t = 0; t < FMidiFile->TrackCount(); ++t) {
        const TMyMidiTrack* track = FMidiFile->GetTrack(t);
        for (int i = 0; i < track->TrackEventCount(); ++i) FMidiEventList.push_back({track->GetEvent(i), t});
    }
}

std::int32_t TKVPianoRollCore::BeatsToTicks(double Beats) const
{
    return SongReady() ? kv::BeatsToTicks(PulsesPerQuarter(), Beats) : 0;
}

double TKVPianoRollCore::TicksToBeats(std::int32_t Ticks) const
{
    return SongReady() ? kv::TicksToBeats(PulsesPerQuarter(), Ticks) : 0.0;
}

// --- properties -----------------------------------------------------------------------------

void TKVPianoRollCore::SetInfoText(const std::string& Value)
{
    if (Value == FInfoText) return;
    FInfoText = Value;
    InvalidateRoll();
}

void TKVPianoRollCore::SetPlayMode(TPlayMode Value)
{
    if (Value == FPlayMode) return;
    FPlayMode = Value;
    ClearSelection();
    ClearIndications();
    InvalidateRoll();
}

void TKVPianoRollCore::SetQuarterNoteWidth(std::int32_t Value)
{
    Value = std::clamp(Value, RollMinQuarterWidth, RollMaxQuarterWidth);
    if (Value == FQuarterNoteWidth) return;
    FQuarterNoteWidth = Value;
    ZoomChanged();
    UpdateScrollRanges();
}

void TKVPianoRollCore::SetQuarterNoteHeight(std::int32_t Value)
{
    Value = std::clamp(Value, RollMinQuarterHeight, RollMaxQuarterHeight);
    if (Value == FQuarterNoteHeight) return;
    FQuarterNoteHeight = Value;
    ZoomChanged();
    UpdateScrollRanges();
}

std::int32_t TKVPianoRollCore::PitchRange() const
{
    if (FMidiFile == nullptr) return RollMinPitchRange;
    const std::int32_t range = std::int32_t{FMidiFile->GetHighNote()} - FMidiFile->GetLowNote() + 1;
    return std::max(RollMinPitchRange, range);
}

std::int32_t TKVPianoRollCore::AutoRectHeight() const
{
    const TKVPianoRollGeometry g = Geometry();
    const TRect ruler = g.RulerRect(), info = g.InfoRect();
    return RectHeight(ruler) + PitchRange() * NoteRectHeight() + RectHeight(info) + RollScrollBarSize;
}

void TKVPianoRollCore::SetNotePosition(std::int32_t Value)
{
    if (Value == FNotePosition) return;
    FNotePosition = ClampValue(Value, 0, RollLastRow);
    SetVertPosition(FNotePosition);
}

void TKVPianoRollCore::SetHorzPosition(std::int32_t Value)
{
    Value = std::clamp(Value, 0, FHorzMax);
    if (Value == FHorzPosition) return;
    FHorzPosition = Value;
    ScrollBarsChanged();
    InvalidateRoll();
}

void TKVPianoRollCore::SetVertPosition(std::int32_t Value)
{
    Value = std::clamp(Value, 0, FVertMax);
    if (Value == FVertPosition) return;
    FVertPosition = Value;
    ScrollBarsChanged();
    InvalidateRoll();
}

void TKVPianoRollCore::ScrollBarScrolled(bool Vertical, std::int32_t Position)
{
    if (Vertical)
        SetVertPosition(Position);
    else
        SetHorzPosition(Position);
    FNotePosition = FVertPosition;
    InvalidateRoll();
}

void TKVPianoRollCore::MouseWheel(bool Down)
{
    SetVertPosition(FVertPosition + (Down ? 1 : -1));
    InvalidateRoll();
}

void TKVPianoRollCore::ResetZoom()
{
    const std::int32_t notesHeight = RectHeight(Geometry().NotesRect());
    SetQuarterNoteHeight(notesHeight / PitchRange() - 2);
    SetQuarterNoteWidth(RollDefaultQuarterWidth);
    UpdateScrollRanges();
}

void TKVPianoRollCore::SetPaintBoxSize(std::int32_t Width, std::int32_t Height)
{
    FWidth = Width;
    FHeight = Height;
}

TKVPianoRollGeometry TKVPianoRollCore::Geometry() const
{
    TKVPianoRollGeometry g;
    g.Width = FWidth;
    g.Height = FHeight;
    g.QuarterNoteWidth = FQuarterNoteWidth;
    g.QuarterNoteHeight = FQuarterNoteHeight;
    g.PulsesPerQuarter = PulsesPerQuarter();
    g.HorzPosition = FHorzPosition;
    g.VertPosition = FVertPosition;
    return g;
}

TRect TKVPianoRollCore::GetNoteRect(const TKVMidiEvent* Event) const
{
    if (Event == nullptr || Event->RelatedEvent() == nullptr) return {};
    return Geometry().NoteRect(Event->StartTime(), Event->RelatedEvent()->StartTime(), Event->Data1());
}

void TKVPianoRollCore::UpdateScrollRanges()
{
    if (FMidiFile == nullptr) return;
    const TKVPianoRollGeometry g = Geometry();
    if (SongReady()) {
        FVertMax = std::max(0, RollRowCount - RectHeight(g.NotesRect()) / g.RowPitch());
        FVertPosition = std::clamp(RollLastRow - FMidiFile->GetHighNote(), 0, FVertMax);
    }
    // The last position shows the song's end in the middle of the notes area.
    const std::int64_t endTicks = std::int64_t{FMidiFile->MidiLength()} - g.PixelsToTicks(RectWidth(g.NotesRect()) / 2);
    const double beats = TicksToBeats(static_cast<std::int32_t>(
        std::clamp<std::int64_t>(endTicks, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max())));
    FHorzMax = static_cast<std::int32_t>(std::clamp(std::ceil(beats), 0.0, double{InitialHorzMax}));
    FHorzPosition = std::clamp(FHorzPosition, 0, FHorzMax);
    ScrollBarsChanged();
    InvalidateRoll();
}

// --- play cursor and lighting ---------------------------------------------------------------

void TKVPianoRollCore::SetCurrentTime(std::int32_t Value)
{
    if (Value == FCurrentTime) return;
    FCurrentTime = Value;
    FCursorPlacedByUser = false;
    const double last = static_cast<double>(RectWidth(Geometry().NotesRect())) / FQuarterNoteWidth + FHorzPosition;
    const double cursor = TicksToBeats(Value);
    if (cursor > last || FHorzPosition > cursor) SetHorzPosition(static_cast<std::int32_t>(std::trunc(cursor)));
    ReleaseLitNotesAwayFrom(FCurrentTime);
    InvalidateRoll();
}

void TKVPianoRollCore::ReleaseLitNote(std::size_t Index)
{
    std::unique_ptr<TKVMidiEvent> off;
    {
        std::lock_guard lock(FCriticalSection);
        if (Index >= FIndicationNoteList.size()) return;
        off = std::move(FIndicationNoteList[Index].OffCopy);
        FIndicationNoteList.erase(FIndicationNoteList.begin() + static_cast<std::ptrdiff_t>(Index));
    }
    Report(off.get());
}

void TKVPianoRollCore::ReleaseLitNotesAwayFrom(std::int32_t Time)
{
    for (std::size_t i = FIndicationNoteList.size(); i-- > 0;) {
        if (i >= FIndicationNoteList.size()) continue;
        const TKVMidiEvent* on = FIndicationNoteList[i].On;
        const TKVMidiEvent* off = on->RelatedEvent();
        if (off == nullptr || !ValueInRange(Time, on->StartTime(), off->StartTime())) ReleaseLitNote(i);
    }
}

void TKVPianoRollCore::UpdateIndication(const TKVRollNote& Note)
{
    const bool inside = ValueInRange(FCurrentTime, Note.On->StartTime(), Note.Off->StartTime());
    auto lit = std::find_if(FIndicationNoteList.begin(), FIndicationNoteList.end(),
                            [&](const TLitNote& l) { return l.On == Note.On; });
    if (!inside) {
        if (lit != FIndicationNoteList.end()) ReleaseLitNote(static_cast<std::size_t>(lit - FIndicationNoteList.begin()));
        return;
    }
    if (lit != FIndicationNoteList.end()) return;
    {
        std::lock_guard lock(FCriticalSection);
        FIndicationNoteList.push_back({Note.On, CopyOf(*Note.Off)});
    }
    Report(Note.On);
}

void TKVPianoRollCore::ClearIndications()
{
    FCursorPlacedByUser = false;
    while (!FIndicationNoteList.empty()) ReleaseLitNote(FIndicationNoteList.size() - 1);
}

void TKVPianoRollCore::ForgetLitNote(const TKVMidiEvent* Event)
{
    for (std::size_t i = 0; i < FIndicationNoteList.size(); ++i)
        if (FIndicationNoteList[i].On == Event) {
            ReleaseLitNote(i);
            return;
        }
}

std::vector<TKVMidiEvent*> TKVPianoRollCore::LitNotes()
{
    std::lock_guard lock(FCriticalSection);
    std::vector<TKVMidiEvent*> notes;
    for (const auto& lit : FIndicationNoteList) notes.push_back(lit.On);
    return notes;
}

void TKVPianoRollCore::Clear()
{
    ClearSelection();
    ClearIndications();
}

void TKVPianoRollCore::ReleaseSoundingNotes()
{
    EndAudition();
    ClearIndications();
}

// --- audition -------------------------------------------------------------------------------

void TKVPianoRollCore::StartAudition(TKVMidiEvent* Event)
{
    EndAudition();
    if (Event->RelatedEvent() == nullptr) return;
    FAuditionNote = Event;
    FAuditionOff = CopyOf(*Event->RelatedEvent());
    Report(Event);
}

void TKVPianoRollCore::EndAudition()
{
    FAuditionNote = nullptr;
    const std::unique_ptr<TKVMidiEvent> off = std::move(FAuditionOff);
    Report(off.get());
}

void TKVPianoRollCore::TakeTemplate(const TKVMidiEvent& Event)
{
    FLastNoteRef = CopyOf(Event);
}

// --- selection ------------------------------------------------------------------------------

bool TKVPianoRollCore::AddToSelection(TKVMidiEvent* Event)
{
    std::lock_guard lock(FCriticalSection);
    if (std::find(FSelectNoteList.begin(), FSelectNoteList.end(), Event) != FSelectNoteList.end()) return false;
    FSelectNoteList.push_back(Event);
    return true;
}

bool TKVPianoRollCore::RemoveFromSelection(TKVMidiEvent* Event)
{
    std::lock_guard lock(FCriticalSection);
    auto it = std::find(FSelectNoteList.begin(), FSelectNoteList.end(), Event);
    if (it == FSelectNoteList.end()) return false;
    FSelectNoteList.erase(it);
    return true;
}

void TKVPianoRollCore::SelectNote(TKVMidiEvent* Event)
{
    KV_ASSERT(Event != nullptr, "Assertion failure");
    if (AddToSelection(Event) && OnSelectionChange)
        OnSelectionChange(static_cast<std::int32_t>(FSelectNoteList.size()), Event);
}

void TKVPianoRollCore::DeselectNote(TKVMidiEvent* Event)
{
    KV_ASSERT(Event != nullptr, "Assertion failure");
    if (RemoveFromSelection(Event) && OnSelectionChange)
        OnSelectionChange(static_cast<std::int32_t>(FSelectNoteList.size()), Event);
}

void TKVPianoRollCore::ClearSelection()
{
    FSelectMouseRect = {};
    FSelectNoteList.clear();
    if (OnSelectionChange) OnSelectionChange(0, nullptr);
}

std::vector<TKVMidiEvent*> TKVPianoRollCore::SelectedNotes()
{
    std::lock_guard lock(FCriticalSection);
    return FSelectNoteList;
}

void TKVPianoRollCore::UpdateHoverSelection(TKVMidiEvent* Event, const TRect& NoteRect, const TPoint& P)
{
    if (!FMouseDownL) {
        if (PtInRect(NoteRect, P))
            SelectNote(Event);
        else
            DeselectNote(Event);
    }
    if (!IsRectEmpty(FSelectMouseRect)) {
        if (AnyCornerInRect(NoteRect, FSelectMouseRect))
            SelectNote(Event);
        else
            DeselectNote(Event);
    }
}

void TKVPianoRollCore::SetPointerShape(TRollPointerShape Shape)
{
    if (Shape == FPointerShape) return;
    FPointerShape = Shape;
    PointerShapeChanged();
}

void TKVPianoRollCore::ChooseMoveType(const TPoint& P)
{
    if (FSelectNoteList.empty() && !FMouseDownL) {
        SetPointerShape(rpDefault);
        FMoveType = mtSelect;
    }
    if (FMouseDownL) return;
    for (TKVMidiEvent* note : SelectedNotes()) {
        const TRect r = GetNoteRect(note);
        if (IsRectEmpty(r)) continue;
        if (PointNearSegment(P, {r.Right, r.Top}, {r.Right, r.Bottom}, 2)) {
            SetPointerShape(rpSizeWE);
            FMoveType = mtLength;
        } else if (PtInRect(r, P)) {
            SetPointerShape(rpHand);
            FMoveType = mtPosition;
        }
    }
}

// --- painting decisions ---------------------------------------------------------------------

std::vector<TKVRollNote> TKVPianoRollCore::VisibleNotes() const
{
    std::vector<TKVRollNote> notes;
    if (!SongReady()) return notes;
    const TKVPianoRollGeometry g = Geometry();
    const TRect area = g.NotesRect();
    if (IsRectEmpty(area)) return notes;
    const std::int64_t first = g.StartTicks();
    const std::int64_t last = first + g.VisibleTicks();
    if (FNoteIndexStale) {
        FNoteIndex.Rebuild(FMidiEventList);
        FNoteIndexStale = false;
    }
    for (const std::size_t position : FNoteIndex.Meeting(first, last)) {
        if (position >= FMidiEventList.size()) continue;
        const TEntry& entry = FMidiEventList[position];
        const TKVMidiEvent& on = *entry.Event;
        if (!IsPairedNoteOn(on)) continue;
        const TKVMidiEvent& off = *on.RelatedEvent();
        // The test is on ticks, before any rectangle is made.
        if (on.StartTime() > last || off.StartTime() < first) continue;
        notes.push_back({entry.Event, on.RelatedEvent(), entry.TrackIndex,
                         g.NoteRect(on.StartTime(), off.StartTime(), on.Data1())});
    }
    return notes;
}

std::vector<TKVRollNote> TKVPianoRollCore::PaintPass()
{
    std::vector<TKVRollNote> notes = VisibleNotes();
    const TPoint p = PointerPosition();
    if (FPlayMode == pmPlay) {
        ReleaseLitNotesAwayFrom(FCurrentTime);
        for (const TKVRollNote& note : notes) UpdateIndication(note);
    } else {
        for (const TKVRollNote& note : notes) UpdateHoverSelection(note.On, note.Rect, p);
        ChooseMoveType(p);
    }
    return notes;
}

// --- edits ----------------------------------------------------------------------------------

TMyMidiTrack* TKVPianoRollCore::TrackHolding(const TKVMidiEvent* Event) const
{
    if (FMidiFile == nullptr) return nullptr;
    for (const TEntry& entry : FMidiEventList)
        if (entry.Event == Event) return FMidiFile->GetTrack(entry.TrackIndex);
    return nullptr;
}

void TKVPianoRollCore::TrackChanged(TMyMidiTrack* Track, bool Rebuild)
{
    NotesChanged();
    if (FBatch) {
        if (std::find(FBatchTracks.begin(), FBatchTracks.end(), Track) == FBatchTracks.end())
            FBatchTracks.push_back(Track);
        FBatchRebuild = FBatchRebuild || Rebuild;
        return;
    }
    Track->UpdateDeltaTime();
    EditDone(Rebuild);
}

void TKVPianoRollCore::FinishBatch()
{
    FBatch = false;
    for (TMyMidiTrack* track : FBatchTracks) track->UpdateDeltaTime();
    const bool touched = !FBatchTracks.empty();
    FBatchTracks.clear();
    const bool rescale = std::exchange(FBatchRebuild, false);
    if (touched) EditDone(rescale);
}

void TKVPianoRollCore::EditDone(bool Rescale)
{
    // The player, the event list and the roll's own list follow the re-sorted tracks.
    if (FMidiFile != nullptr) FMidiFile->Watchers().EventsChanged(this);
    if (Rescale) UpdateScrollRanges();
}

void TKVPianoRollCore::DeleteFromTracks(const std::vector<std::vector<TKVMidiEvent*>>& ByTrack)
{
    std::vector<const TKVMidiEvent*> freed;
    for (const auto& notes : ByTrack)
        for (const TKVMidiEvent* note : notes) {
            freed.push_back(note);
            if (note->RelatedEvent() != nullptr) freed.push_back(note->RelatedEvent());
        }
    if (freed.empty()) return;
    FMidiFile->Watchers().EventsFreeing(freed, this);
    for (std::size_t t = 0; t < ByTrack.size(); ++t) {
        if (ByTrack[t].empty()) continue;
        TMyMidiTrack* track = FMidiFile->GetTrack(static_cast<int>(t));
        track->DelEvents(ByTrack[t]);
        track->UpdateDeltaTime();
    }
    EditDone(true);
}

void TKVPianoRollCore::InsertNote(std::uint8_t Track, std::uint8_t Channel, std::int32_t X, std::int32_t Y,
                                  std::int32_t Length)
{
    if (!SongReady() || FMidiFile->TrackCount() == 0) return;
    const TKVPianoRollGeometry g = Geometry();
    const std::int32_t pitch = g.PitchOfY(Y);
    if (pitch < 0 || pitch > 127) return; // the rows above pitch 127 hold no notes
    const int trackIndex = std::min<int>(Track, FMidiFile->TrackCount() - 1);
    TMyMidiTrack* track = FMidiFile->GetTrack(trackIndex);
    const std::int32_t start = std::max(0, g.TimeOfX(X));

    auto on = std::make_unique<TKVMidiEvent>();
    auto off = std::make_unique<TKVMidiEvent>();
    on->SetTrack(static_cast<std::uint8_t>(trackIndex));
    on->SetEvent(static_cast<std::uint8_t>(0x90 + (Channel & 0x0F)));
    on->SetData1(static_cast<std::uint8_t>(pitch));
    on->SetData2(RollInsertVelocity);
    on->SetStartTime(start);
    on->SetTimeLength(Length);
    off->SetTrack(static_cast<std::uint8_t>(trackIndex));
    off->SetEvent(static_cast<std::uint8_t>(0x80 + (Channel & 0x0F)));
    off->SetData1(static_cast<std::uint8_t>(pitch));
    off->SetData2(RollInsertOffVelocity);
    off->SetStartTime(static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{start} + Length, std::numeric_limits<std::int32_t>::max())));
    TKVMidiEvent* inserted = on.get();
    track->AddEvent(std::move(on), std::move(off));
    TakeTemplate(*inserted);
    TrackChanged(track, true);
}

std::int32_t TKVPianoRollCore::RowsWithinRange(std::int32_t Rows) const
{
    // The whole selection moves by the same rows, limited so that no note leaves 0..127.
    for (const TKVMidiEvent* note : FSelectNoteList) {
        Rows = std::min(Rows, 127 - std::int32_t{note->Data1()});
        Rows = std::max(Rows, -std::int32_t{note->Data1()});
    }
    return Rows;
}

void TKVPianoRollCore::MoveNote(TKVMidiEvent* Event, TMoveType Kind, std::int32_t X, std::int32_t Y)
{
    const std::int32_t p = std::max(1, NoteRectHeight());
    MoveNoteBy(Event, Kind, PixelsToTicks(std::int64_t{X} - FOldPoint.X), (FOldPoint.Y - Y) / p);
}

void TKVPianoRollCore::MoveNoteBy(TKVMidiEvent* Event, TMoveType Kind, std::int32_t Ticks, std::int32_t Rows)
{
    if (Event == nullptr) return;
    TKVMidiEvent* off = Event->RelatedEvent();
    if (Kind == mtPosition) {
        RemoveFromSelection(Event);
        if (Event == FAuditionNote) EndAudition(); // the audition ends at the old pitch
    }
    TMyMidiTrack* track = TrackHolding(Event);
    if (off == nullptr || track == nullptr) return;
    const std::int64_t newStart = std::max<std::int64_t>(0, std::int64_t{Event->StartTime()} + Ticks);
    const std::int64_t newEnd = std::max(newStart + RollMinNoteLength, std::int64_t{off->StartTime()} + Ticks);
    const auto toTicks = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::min<std::int64_t>(v, std::numeric_limits<std::int32_t>::max()));
    };
    if (Kind == mtPosition) {
        const std::uint8_t pitch = PitchWithin(std::int32_t{Event->Data1()} + Rows);
        Event->SetData1(pitch);
        off->SetData1(pitch);
        Event->SetStartTime(toTicks(newStart));
        off->SetStartTime(std::max(off->StartTime(), toTicks(newEnd)));
    } else if (Kind == mtLength) {
        off->SetStartTime(toTicks(std::max(std::int64_t{Event->StartTime()} + RollMinNoteLength, newEnd)));
    }
    Event->SetTimeLength(SubTicks(off->StartTime(), Event->StartTime()));
    TrackChanged(track, false);
}

void TKVPianoRollCore::DeleteNote(TKVMidiEvent* Event)
{
    if (Event == nullptr) return;
    DeleteNotes({Event});
}

// --- mouse ----------------------------------------------------------------------------------

void TKVPianoRollCore::SetScrubTime(std::int32_t X)
{
    // Notes lit under the owner's cursor are lit again under the user's, so that they are reported
    // as the user's.
    if (!FCursorPlacedByUser) ClearIndications();
    FCurrentTime = Geometry().TimeOfX(X);
    FCursorPlacedByUser = true;
    ReleaseLitNotesAwayFrom(FCurrentTime);
}

void TKVPianoRollCore::PaintBoxMouseDown(TMouseButton Button, TShiftState, std::int32_t X, std::int32_t Y)
{
    FLastMouse = {X, Y};
    const TPoint p = PointerPosition();
    if (Button == mbRight) {
        FMouseDownR = true;
        ClearSelection();
        InvalidateRoll();
        return;
    }
    if (Button != mbLeft) return;
    FMouseDownL = true;
    FOldPoint = p;
    const TRect notesArea = Geometry().NotesRect();
    if (FSelectNoteList.size() == 1) {
        TKVMidiEvent* note = FSelectNoteList.front();
        TakeTemplate(*note);
        if (FMoveType != mtLength) StartAudition(note);
    }
    if (!FSelectNoteList.empty() && PtInRect(notesArea, p)) {
        ConfineAndCapture(notesArea);
        FConfined = true;
    }
    if (!IsRectEmpty(FSelectMouseRect) && !PtInRect(FSelectMouseRect, p)) ClearSelection();
    if (FSelectNoteList.empty()) SetScrubTime(X);
    InvalidateRoll();
}

void TKVPianoRollCore::PaintBoxMouseMove(TShiftState, std::int32_t X, std::int32_t Y)
{
    FLastMouse = {X, Y};
    if (PaintBoxHasCapture()) {
        const TPoint p = PointerPosition();
        const TKVPianoRollGeometry g = Geometry();
        const TRect notesArea = g.NotesRect();
        if (FPlayMode == pmPlay) {
            if (PtInRect(notesArea, p) || PtInRect(g.KeyColumnRect(), p)) SetScrubTime(X);
            if (p.X > notesArea.Right) SetHorzPosition(FHorzPosition + HorzSmallChange);
            if (p.X < notesArea.Left) SetHorzPosition(FHorzPosition - HorzSmallChange);
        }
        if (FMoveType == mtSelect) FSelectMouseRect = BandRect(FOldPoint, p, notesArea);
    }
    InvalidateRoll();
}

void TKVPianoRollCore::ApplyRelease(std::int32_t X, std::int32_t Y)
{
    const std::vector<TKVMidiEvent*> selection = SelectedNotes();
    if (selection.empty()) return;
    if (FPlayMode == pmDelete) {
        DeleteNotes({selection.rbegin(), selection.rend()});
    } else if (FPlayMode == pmEdit || FPlayMode == pmInsert) {
        const std::int32_t p = std::max(1, NoteRectHeight());
        const std::int32_t ticks = PixelsToTicks(std::int64_t{X} - FOldPoint.X);
        const std::int32_t rows = RowsWithinRange((FOldPoint.Y - Y) / p);
        FBatch = true;
        try {
            for (auto it = selection.rbegin(); it != selection.rend(); ++it) MoveNoteBy(*it, FMoveType, ticks, rows);
        } catch (...) {
            FinishBatch();
            throw;
        }
        FinishBatch();
    }
    if (FSelectNoteList.size() == 1) TakeTemplate(*FSelectNoteList.front());
}

void TKVPianoRollCore::DeleteNotes(const std::vector<TKVMidiEvent*>& Notes)
{
    if (FMidiFile == nullptr) return;
    std::unordered_map<const TKVMidiEvent*, std::int32_t> holder;
    for (const TEntry& entry : FMidiEventList) holder.emplace(entry.Event, entry.TrackIndex);
    std::vector<std::vector<TKVMidiEvent*>> byTrack(static_cast<std::size_t>(FMidiFile->TrackCount()));
    for (TKVMidiEvent* note : Notes) {
        // A note the song no longer holds is only let go of.
        RemoveFromSelection(note);
        const auto found = holder.find(note);
        if (found != holder.end() && found->second < FMidiFile->TrackCount())
            byTrack[static_cast<std::size_t>(found->second)].push_back(note);
    }
    DeleteFromTracks(byTrack);
}

void TKVPianoRollCore::PaintBoxMouseUp(TMouseButton Button, TShiftState, std::int32_t X, std::int32_t Y)
{
    FLastMouse = {X, Y};
    const TPoint p = PointerPosition();
    if (Button == mbRight) {
        if (FPlayMode == pmInsert && FSelectNoteList.size() == 1) DeleteNote(FSelectNoteList.front());
        FMouseDownR = false;
        InvalidateRoll();
        return;
    }
    if (Button != mbLeft) return;
    try {
        if (FSelectNoteList.empty()) {
            if (FPlayMode == pmInsert && p == FOldPoint && PtInRect(Geometry().NotesRect(), p)) {
                if (FLastNoteRef->TimeLength() <= 0) FLastNoteRef->SetTimeLength(PixelsToTicks(RollDefaultQuarterWidth));
                InsertNote(FLastNoteRef->Track(), FLastNoteRef->Event() & 0x0F, X, Y, FLastNoteRef->TimeLength());
            }
        } else {
            ApplyRelease(X, Y);
        }
    } catch (...) {
        EndDrag();
        throw;
    }
    EndDrag();
}

void TKVPianoRollCore::EndDrag()
{
    // Wherever the button is released, nothing stays sounding, confined or captured.
    FMouseDownL = false;
    if (FConfined) {
        FConfined = false;
        FreeAndRelease();
    }
    InvalidateRoll();
    EndAudition();
}

void TKVPianoRollCore::PaintBoxDblClick()
{
    if (FSelectNoteList.size() == 1 && OnDblClickNote) OnDblClickNote(FSelectNoteList.front());
    ClearSelection();
}

void TKVPianoRollCore::MouseCaptureLost()
{
    if (!FMouseDownL && !FMouseDownR) return;
    FMouseDownR = false;
    EndDrag();
}

} // namespace kv
