#pragma once
// The check states of the components tree, kept in tree order (each item followed by its
// descendants), changed and recomputed without recursion.
#include <cstddef>
#include <cstdint>
#include <vector>

enum CheckState : std::int32_t { kUnchecked = 0, kChecked = 1, kFixed = 2, kPartlyChecked = 3 };

struct CheckItem {
    std::int32_t state = kUnchecked;
    // The parent's index in tree order, before the item; -1 at the top level.
    std::int32_t parent = -1;
};

// Every descendant that is not fixed takes the state; fixed ones keep theirs, their own
// descendants still take it.
void setSubtreeState(std::vector<CheckItem>& items, std::size_t item, std::int32_t state);
// Each item with descendants shows what they are: all unchecked, all checked (fixed counts as
// checked) or mixed; partly checked descendants count for neither.
void recomputeStates(std::vector<CheckItem>& items);
// The user's click: fixed stays, unchecked becomes checked, checked and partly checked become
// unchecked, for the item and what lies below it.
void toggleItem(std::vector<CheckItem>& items, std::size_t item);
