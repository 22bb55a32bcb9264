#include "installer/wizard/CheckStates.h"

void setSubtreeState(std::vector<CheckItem>& items, std::size_t item, std::int32_t state)
{
    // The descendants follow the item directly: the run of items whose parent lies within it.
    for (std::size_t i = item + 1; i < items.size() && items[i].parent >= std::int32_t(item); ++i) {
        if (items[i].state != kFixed)
            items[i].state = state;
    }
}

void recomputeStates(std::vector<CheckItem>& items)
{
    std::vector<std::uint32_t> checkedBelow(items.size(), 0);
    std::vector<std::uint32_t> uncheckedBelow(items.size(), 0);
    // Children come after their parent, so walking backwards settles them first.
    for (std::size_t i = items.size(); i-- > 0;) {
        CheckItem& item = items[i];
        if (checkedBelow[i] == 0 && uncheckedBelow[i] > 0)
            item.state = kUnchecked;
        else if (checkedBelow[i] > 0 && uncheckedBelow[i] > 0)
            item.state = kPartlyChecked;
        else if (checkedBelow[i] > 0)
            item.state = kChecked;
        const std::int32_t parent = item.parent;
        if (parent < 0 || std::size_t(parent) >= i)
            continue;
        checkedBelow[std::size_t(parent)] += checkedBelow[i] + (item.state == kChecked || item.state == kFixed ? 1 : 0);
        uncheckedBelow[std::size_t(parent)] += uncheckedBelow[i] + (item.state == kUnchecked ? 1 : 0);
    }
}

void toggleItem(std::vector<CheckItem>& items, std::size_t item)
{
    if (item >= items.size() || items[item].state == kFixed)
        return;
    const std::int32_t state = items[item].state == kUnchecked ? kChecked : kUnchecked;
    items[item].state = state;
    setSubtreeState(items, item, state);
    recomputeStates(items);
}
