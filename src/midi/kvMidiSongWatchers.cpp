#include "midi/kvMidiSongWatchers.h"

#include <algorithm>
#include <utility>

namespace kv {

bool TKVSongEdit::Frees(const TKVMidiEvent* Event) const
{
    if (Event == nullptr) return false;
    if (Change == scTracksFreeing) return true;
    return Change == scEventsFreeing && Events != nullptr && std::find(Events->begin(), Events->end(), Event) != Events->end();
}

TKVSongWatch::TKVSongWatch(TKVSongWatch&& Other) noexcept
    : FList(std::move(Other.FList)), FId(std::exchange(Other.FId, 0))
{
}

TKVSongWatch& TKVSongWatch::operator=(TKVSongWatch&& Other) noexcept
{
    if (this != &Other) {
        Reset();
        FList = std::move(Other.FList);
        FId = std::exchange(Other.FId, 0);
    }
    return *this;
}

void TKVSongWatch::Reset()
{
    if (const std::shared_ptr<TList> list = FList.lock()) list->Handlers.erase(FId);
    FList.reset();
    FId = 0;
}

TKVSongWatchers::TKVSongWatchers() : FList(std::make_shared<TKVSongWatch::TList>()) {}

TKVSongWatch TKVSongWatchers::Watch(TOnSongEdit Handler)
{
    const std::uint64_t id = FList->NextId++;
    FList->Handlers.emplace(id, std::make_shared<TOnSongEdit>(std::move(Handler)));
    return TKVSongWatch(FList, id);
}

void TKVSongWatchers::Notify(const TKVSongEdit& Edit) const
{
    // The ids are taken first: a handler may end its own or another's watch meanwhile, and one
    // that ended is not told.
    std::vector<std::uint64_t> ids;
    ids.reserve(FList->Handlers.size());
    for (const auto& [id, handler] : FList->Handlers) ids.push_back(id);
    const std::shared_ptr<TKVSongWatch::TList> keep = FList;
    for (const std::uint64_t id : ids) {
        const auto found = keep->Handlers.find(id);
        if (found == keep->Handlers.end()) continue;
        const std::shared_ptr<TOnSongEdit> handler = found->second;
        if (*handler) (*handler)(Edit);
    }
}

void TKVSongWatchers::EventsFreeing(const std::vector<const TKVMidiEvent*>& Events, const void* Source) const
{
    Notify({scEventsFreeing, Source, &Events});
}

void TKVSongWatchers::EventsChanged(const void* Source) const { Notify({scEventsChanged, Source, nullptr}); }

void TKVSongWatchers::TracksFreeing(const void* Source) const { Notify({scTracksFreeing, Source, nullptr}); }

void TKVSongWatchers::TracksReplaced(const void* Source) const { Notify({scTracksReplaced, Source, nullptr}); }

std::size_t TKVSongWatchers::Count() const { return FList->Handlers.size(); }

} // namespace kv
