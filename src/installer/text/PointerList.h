#pragma once
// The installer's ordered list of pointers (tables read from the package, controls of a page,
// paths). The list never owns what its items point to: owners free their items themselves.
#include "installer/memory/MovableBlock.h"

#include <cstdint>

class PointerList {
public:
    PointerList() = default;
    PointerList(const PointerList&) = delete;
    PointerList& operator=(const PointerList&) = delete;

    std::int32_t count() const { return count_; }
    // The item, or null outside the list.
    void* get(std::int32_t index) const;
    // Appends, then moves the item to position when 0 <= position < new count. 1, or -1 without
    // change when duplicates are refused and the item is already there.
    int add(void* item, std::int32_t position = -1);
    // Replaces the item at index (ignored outside the list); returns index.
    std::int32_t set(std::int32_t index, void* item);
    int clear();
    std::int32_t indexOf(const void* item) const;
    // Takes the item at from and reinserts it at to. -1 when from = to or either lies outside.
    int move(std::int32_t from, std::int32_t to);
    // Removes the first occurrence; -1 when absent.
    int remove(const void* item);

    bool modified = false;
    bool allowDuplicates = false;

private:
    void** items() const { return reinterpret_cast<void**>(block_.data()); }

    MovableBlock block_;
    std::int32_t count_ = 0;
};
