#pragma once
// The one way the holders of a song's tracks and events (the piano roll, the event list, the
// editor, the hands panel, the player) hear that the song changes. Whoever edits the song tells
// its watchers twice: before anything is freed, so that no holder reads a freed event, and after
// the change, so that each holder rebuilds what it derived from the song (lists, indexes, times).
//
// Interface thread only. A watcher may stop watching, or make others stop, while it is told.
#include "midi/kvMidiEvent.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace kv {

enum TKVSongChange : std::uint8_t {
    // Events are about to be freed: Events lists them (note-offs taken along included).
    scEventsFreeing,
    // Events were added, removed, moved or re-timed; the tracks touched are sorted and re-timed.
    scEventsChanged,
    // Every track and event is about to be freed (a song is read, the song is reset).
    scTracksFreeing,
    // The song holds other tracks now (read, reset or built anew).
    scTracksReplaced,
};

struct TKVSongEdit {
    TKVSongChange Change = scEventsChanged;
    // The holder that makes the change, for a holder to know its own edits; nil when none.
    const void* Source = nullptr;
    // scEventsFreeing: the events to be freed, for comparing only.
    const std::vector<const TKVMidiEvent*>* Events = nullptr;

    bool Frees(const TKVMidiEvent* Event) const;
};

using TOnSongEdit = std::function<void(const TKVSongEdit& Edit)>;

class TKVSongWatchers;

// A registration: while it lives, its handler hears of the song's changes. It may outlive the
// song; it then hears nothing.
class TKVSongWatch {
public:
    TKVSongWatch() = default;
    TKVSongWatch(TKVSongWatch&& Other) noexcept;
    TKVSongWatch& operator=(TKVSongWatch&& Other) noexcept;
    ~TKVSongWatch() { Reset(); }
    TKVSongWatch(const TKVSongWatch&) = delete;
    TKVSongWatch& operator=(const TKVSongWatch&) = delete;
    void Reset();

private:
    friend class TKVSongWatchers;
    struct TList;
    TKVSongWatch(std::weak_ptr<TList> List, std::uint64_t Id) : FList(std::move(List)), FId(Id) {}
    std::weak_ptr<TList> FList;
    std::uint64_t FId = 0;
};

class TKVSongWatchers {
public:
    TKVSongWatchers();
    [[nodiscard]] TKVSongWatch Watch(TOnSongEdit Handler);
    // Tells every watcher, in the order they started watching. A handler that raises ends the
    // telling: the exception reaches the caller.
    void Notify(const TKVSongEdit& Edit) const;
    void EventsFreeing(const std::vector<const TKVMidiEvent*>& Events, const void* Source) const;
    void EventsChanged(const void* Source) const;
    void TracksFreeing(const void* Source) const;
    void TracksReplaced(const void* Source) const;
    std::size_t Count() const;

private:
    std::shared_ptr<TKVSongWatch::TList> FList;
};

struct TKVSongWatch::TList {
    std::map<std::uint64_t, std::shared_ptr<TOnSongEdit>> Handlers;
    std::uint64_t NextId = 1;
};

} // namespace kv
