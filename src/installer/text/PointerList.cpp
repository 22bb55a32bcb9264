#include "installer/text/PointerList.h"

#include "installer/memory/FatalError.h"

#include <cstring>

void* PointerList::get(std::int32_t index) const
{
    return index >= 0 && index < count_ ? items()[index] : nullptr;
}

int PointerList::add(void* item, std::int32_t position)
{
    if (!allowDuplicates && indexOf(item) >= 0)
        return -1;
    if (static_cast<std::size_t>(count_) + 1 > kMaxBlockBytes / sizeof(void*))
        fatalError(nullptr);
    modified = true;
    block_.reserve((static_cast<std::size_t>(count_) + 1) * sizeof(void*));
    items()[count_++] = item;
    if (position >= 0 && position < count_ - 1)
        move(count_ - 1, position);
    return 1;
}

std::int32_t PointerList::set(std::int32_t index, void* item)
{
    if (index >= 0 && index < count_)
        items()[index] = item;
    return index;
}

int PointerList::clear()
{
    count_ = 0;
    block_.shrinkTo(0);
    return 1;
}

std::int32_t PointerList::indexOf(const void* item) const
{
    for (std::int32_t i = 0; i < count_; ++i)
        if (items()[i] == item)
            return i;
    return -1;
}

int PointerList::move(std::int32_t from, std::int32_t to)
{
    if (from == to || from < 0 || to < 0 || from >= count_ || to >= count_)
        return -1;
    modified = true;
    void** p = items();
    void* kept = p[from];
    if (from < to)
        std::memmove(p + from, p + from + 1, static_cast<std::size_t>(to - from) * sizeof(void*));
    else
        std::memmove(p + to + 1, p + to, static_cast<std::size_t>(from - to) * sizeof(void*));
    p[to] = kept;
    return 1;
}

int PointerList::remove(const void* item)
{
    const std::int32_t index = indexOf(item);
    if (index < 0)
        return -1;
    modified = true;
    void** p = items();
    std::memmove(p + index, p + index + 1, static_cast<std::size_t>(count_ - index - 1) * sizeof(void*));
    --count_;
    block_.shrinkTo(static_cast<std::size_t>(count_) * sizeof(void*));
    return 1;
}
