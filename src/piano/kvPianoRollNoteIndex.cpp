#include "piano/kvPianoRollNoteIndex.h"

#include <algorithm>
#include <limits>

namespace kv {

namespace {

// Small enough that a block of long-gone notes costs little, large enough that skipping them is.
constexpr std::size_t BlockSize = 64;

} // namespace

void TKVRollNoteIndex::Clear()
{
    FItems.clear();
    FPrefixEnd.clear();
    FBlockEnd.clear();
}

void TKVRollNoteIndex::Rebuild(const std::vector<TKVRollEntry>& List)
{
    Clear();
    for (std::size_t i = 0; i < List.size(); ++i) {
        const TKVMidiEvent* on = List[i].Event;
        if (on == nullptr || on->EventType() != etOn || on->RelatedEvent() == nullptr) continue;
        FItems.push_back({on->StartTime(), on->RelatedEvent()->StartTime(), i});
    }
    std::sort(FItems.begin(), FItems.end(), [](const TItem& a, const TItem& b) {
        return a.Start != b.Start ? a.Start < b.Start : a.Position < b.Position;
    });
    std::int32_t latest = std::numeric_limits<std::int32_t>::min();
    FPrefixEnd.reserve(FItems.size());
    FBlockEnd.reserve(FItems.size() / BlockSize + 1);
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        latest = std::max(latest, FItems[i].End);
        FPrefixEnd.push_back(latest);
        if (i % BlockSize == 0) FBlockEnd.push_back(FItems[i].End);
        FBlockEnd.back() = std::max(FBlockEnd.back(), FItems[i].End);
    }
}

std::vector<std::size_t> TKVRollNoteIndex::Meeting(std::int64_t First, std::int64_t Last) const
{
    std::vector<std::size_t> found;
    // Items from 'end' on start after the range; items before 'begin' all end before it.
    const auto end = static_cast<std::size_t>(
        std::upper_bound(FItems.begin(), FItems.end(), Last, [](std::int64_t t, const TItem& item) { return t < item.Start; }) -
        FItems.begin());
    const auto begin = static_cast<std::size_t>(
        std::lower_bound(FPrefixEnd.begin(), FPrefixEnd.end(), First, [](std::int32_t e, std::int64_t t) { return e < t; }) -
        FPrefixEnd.begin());
    for (std::size_t i = begin; i < end;) {
        const std::size_t block = i / BlockSize;
        const std::size_t blockEnd = std::min(end, (block + 1) * BlockSize);
        if (FBlockEnd[block] < First) {
            i = blockEnd;
            continue;
        }
        for (; i < blockEnd; ++i)
            if (FItems[i].End >= First) found.push_back(FItems[i].Position);
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace kv
