#include "midi/kvMidiTrack.h"

#include "base/Exceptions.h"
#include "midi/kvMidiTicks.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace kv {

std::string CopyrightNotice = "Recorded with Korvanel";

namespace {

constexpr std::uint8_t MetaStatus = 0xFF;
constexpr std::uint8_t MetaEndOfTrack = 0x2F;

std::unique_ptr<TKVMidiEvent> MakeMetaEvent(std::uint8_t metaType, const std::string& data)
{
    auto event = std::make_unique<TKVMidiEvent>();
    event->SetEvent(MetaStatus);
    event->SetData1(metaType);
    event->SetLetter(data);
    return event;
}

bool IsEndOfTrack(const TKVMidiEvent& event)
{
    return event.Event() == MetaStatus && event.Data1() == MetaEndOfTrack;
}

bool SetsChannelState(std::uint8_t status)
{
    const std::uint8_t kind = status & 0xF0;
    return kind == 0xB0 || kind == 0xC0;
}

} // namespace

void TMyMidiTrack::PutCopyright()
{
    PutEvent(MakeMetaEvent(2, CopyrightNotice));
}

void TMyMidiTrack::PutEndEvent()
{
    PutEvent(MakeMetaEvent(MetaEndOfTrack, ""));
}

int TMyMidiTrack::AddEvent(std::unique_ptr<TKVMidiEvent> mEvent, std::unique_ptr<TKVMidiEvent> relatedOff)
{
    KV_ASSERT(mEvent != nullptr, "AddEvent without an event.");
    TKVMidiEvent* event = mEvent.get();
    TKVMidiEvent* off = relatedOff.get();
    if (off != nullptr) event->SetRelatedEvent(off);
    FTrackEventList.Add(std::move(mEvent));
    if (off != nullptr) FTrackEventList.Add(std::move(relatedOff));
    UnlinkIfOutside(*event);
    if (off != nullptr) UnlinkIfOutside(*off);
    RaiseTrackModified(1);
    return TrackEventCount() - 1;
}

std::vector<std::unique_ptr<TKVMidiEvent>> TMyMidiTrack::DelEvent(TKVMidiEvent* mEvent, bool FreeIt)
{
    std::vector<std::unique_ptr<TKVMidiEvent>> removed;
    if (mEvent == nullptr) return removed;
    const TKVMidiEvent* related = mEvent->RelatedEvent();
    for (int i = TrackEventCount() - 1; i >= 0; --i) {
        const TKVMidiEvent* item = FTrackEventList.Items(i);
        if (item == related || item == mEvent) removed.push_back(FTrackEventList.Extract(i));
    }
    std::reverse(removed.begin(), removed.end());
    ForgetLinksTo([&removed](const TKVMidiEvent* target) {
        return std::any_of(removed.begin(), removed.end(), [target](const auto& e) { return e.get() == target; });
    });
    RaiseTrackModified(static_cast<int>(removed.size()));
    if (FreeIt) removed.clear();
    return removed;
}

void TMyMidiTrack::DelEvents(const std::vector<TKVMidiEvent*>& Events)
{
    std::unordered_set<const TKVMidiEvent*> doomed;
    for (const TKVMidiEvent* event : Events) {
        if (event == nullptr) continue;
        doomed.insert(event);
        if (event->RelatedEvent() != nullptr) doomed.insert(event->RelatedEvent());
    }
    ForgetLinksTo([&doomed](const TKVMidiEvent* target) { return doomed.count(target) != 0; });
    const int removed = FTrackEventList.RemoveIf([&doomed](const TKVMidiEvent& event) { return doomed.count(&event) != 0; });
    RaiseTrackModified(removed);
}

TKVMidiEvent* TMyMidiTrack::GetEvent(int Index) const
{
    if (Index < 0 || Index >= TrackEventCount()) return nullptr;
    return FTrackEventList.Items(Index);
}

TKVMidiEvent* TMyMidiTrack::PutEvent(std::unique_ptr<TKVMidiEvent> mEvent)
{
    KV_ASSERT(mEvent != nullptr, "PutEvent without an event.");
    UnlinkIfOutside(*mEvent);
    const std::uint8_t status = mEvent->Event();
    if (status == MetaStatus)
        AppendMetaText(*mEvent);
    else if (SetsChannelState(status))
        FTrackChannels[status & 0x0F] = true;
    FTrackTime = AddTicks(FTrackTime, mEvent->DeltaTime());
    mEvent->SetStartTime(FTrackTime);
    TKVMidiEvent* event = mEvent.get();
    FTrackEventList.Add(std::move(mEvent));
    return event;
}

TKVMidiEvent* TMyMidiTrack::GetLastEvent() const
{
    return FTrackEventList.Last();
}

bool TMyMidiTrack::GetChannels(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(FTrackChannels.size())) return false;
    return FTrackChannels[Index];
}

void TMyMidiTrack::UpdateDeltaTime()
{
    TKVMidiEvent* endOfTrack = nullptr;
    for (const auto& event : FTrackEventList)
        if (IsEndOfTrack(*event)) endOfTrack = event.get();
    std::int32_t lastStart = 0;
    for (const auto& event : FTrackEventList)
        if (event.get() != endOfTrack) lastStart = std::max(lastStart, event->StartTime());

    // Stable, so that events on one tick keep their order: a note struck again on the tick
    // where the previous one ends keeps its note-off first and is not cut.
    FTrackEventList.StableSort([endOfTrack](const TKVMidiEvent& a, const TKVMidiEvent& b) {
        const bool aIsEnd = &a == endOfTrack;
        const bool bIsEnd = &b == endOfTrack;
        if (aIsEnd != bIsEnd) return bIsEnd;
        return a.StartTime() < b.StartTime();
    });
    if (endOfTrack != nullptr) endOfTrack->SetStartTime(lastStart);

    std::int32_t previousStart = 0;
    for (const auto& event : FTrackEventList) {
        event->SetDeltaTime(SubTicks(event->StartTime(), previousStart));
        previousStart = event->StartTime();
    }
    RaiseTrackModified(1);
}

std::int32_t TMyMidiTrack::TrackLength() const
{
    // An empty track has no last event; it counts as length 0.
    const TKVMidiEvent* last = GetLastEvent();
    return last != nullptr ? last->StartTime() : 0;
}

void TMyMidiTrack::UnlinkIfOutside(TKVMidiEvent& Event) const
{
    if (Event.RelatedEvent() != nullptr && !Contains(Event.RelatedEvent())) Event.SetRelatedEvent(nullptr);
}

void TMyMidiTrack::RaiseTrackModified(int Times) const
{
    for (int i = 0; i < Times; ++i)
        if (FTrackModified) FTrackModified(true);
}

void TMyMidiTrack::AppendMetaText(const TKVMidiEvent& Event)
{
    switch (Event.Data1()) {
    case 1: FTrackKeyword += Event.Letter(); break;
    case 2: FTrackCopyright += Event.Letter(); break;
    case 3: FTrackName += Event.Letter(); break;
    case 4: FTrackInstrument += Event.Letter(); break;
    case 5: FTrackLyricText += Event.Letter(); break;
    default: break;
    }
}

} // namespace kv
