#pragma once
// An ordered list that owns its objects: the component library's TObjectList with
// OwnsObjects set, over a vector of unique_ptr.
#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/ResStr.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace kv {

template <typename T>
class TObjectList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    bool Empty() const { return FItems.empty(); }

    // The object at Index; raises EListError "List index out of bounds (%d)" outside the list.
    T* Items(int Index) const { return FItems[CheckIndex(Index)].get(); }
    T* First() const { return Empty() ? nullptr : FItems.front().get(); }
    T* Last() const { return Empty() ? nullptr : FItems.back().get(); }

    // Appends and returns the index of the new item.
    int Add(std::unique_ptr<T> Item)
    {
        FItems.push_back(std::move(Item));
        return Count() - 1;
    }
    void Insert(int Index, std::unique_ptr<T> Item)
    {
        if (Index < 0 || Index > Count()) ThrowIndex(Index);
        FItems.insert(FItems.begin() + Index, std::move(Item));
    }
    // Frees the object at Index.
    void Delete(int Index) { FItems.erase(FItems.begin() + CheckIndex(Index)); }
    // Takes the object at Index out of the list and hands it to the caller.
    std::unique_ptr<T> Extract(int Index)
    {
        auto item = std::move(FItems[CheckIndex(Index)]);
        FItems.erase(FItems.begin() + Index);
        return item;
    }
    // Index of the object, -1 when it is not in the list.
    int IndexOf(const T* Item) const
    {
        for (int i = 0; i < Count(); ++i)
            if (FItems[i].get() == Item) return i;
        return -1;
    }
    void Clear() { FItems.clear(); }

    // Stable sort by a strict weak ordering of the objects.
    template <typename Less>
    void StableSort(Less less)
    {
        std::stable_sort(FItems.begin(), FItems.end(),
                         [&](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) { return less(*a, *b); });
    }

    // Removes (and frees) every object for which the predicate holds, in one pass; keeps the order.
    template <typename Pred>
    int RemoveIf(Pred pred)
    {
        auto end = std::remove_if(FItems.begin(), FItems.end(), [&](const std::unique_ptr<T>& p) { return pred(*p); });
        int removed = static_cast<int>(FItems.end() - end);
        FItems.erase(end, FItems.end());
        return removed;
    }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    int CheckIndex(int Index) const
    {
        if (Index < 0 || Index >= Count()) ThrowIndex(Index);
        return Index;
    }
    [[noreturn]] static void ThrowIndex(int Index)
    {
        throw EListError(Format(ResStr("List index out of bounds (%d)"), {Index}));
    }

    std::vector<std::unique_ptr<T>> FItems;
};

} // namespace kv
