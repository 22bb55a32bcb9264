// The components tree's check states after a click.
#include "installer/wizard/CheckStates.h"

#include <gtest/gtest.h>

namespace {

// A tree: 0 "Program" (fixed); 1 "Extras" with 2 "Songs" (which holds 3 "Demo") and 4 "Layouts".
std::vector<CheckItem> tree(std::int32_t program, std::int32_t songs, std::int32_t demo, std::int32_t layouts)
{
    std::vector<CheckItem> items{{program, -1}, {kUnchecked, -1}, {songs, 1}, {demo, 2}, {layouts, 1}};
    recomputeStates(items);
    return items;
}

std::vector<std::int32_t> states(const std::vector<CheckItem>& items)
{
    std::vector<std::int32_t> out;
    for (const CheckItem& item : items)
        out.push_back(item.state);
    return out;
}

} // namespace

TEST(CheckStates, ClicksAndTheirParents)
{
    struct Case {
        const char* what;
        std::vector<CheckItem> items;
        std::size_t clicked;
        std::vector<std::int32_t> after;
    };
    const Case cases[] = {
        {"checking a leaf makes its parents partly checked", tree(kFixed, kUnchecked, kUnchecked, kUnchecked), 3,
         {kFixed, kPartlyChecked, kChecked, kChecked, kUnchecked}},
        {"checking a parent checks everything below", tree(kFixed, kUnchecked, kUnchecked, kUnchecked), 1,
         {kFixed, kChecked, kChecked, kChecked, kChecked}},
        {"a partly checked parent clicked becomes unchecked", tree(kFixed, kChecked, kChecked, kUnchecked), 1,
         {kFixed, kUnchecked, kUnchecked, kUnchecked, kUnchecked}},
        {"a fixed item cannot be unchecked", tree(kFixed, kUnchecked, kUnchecked, kUnchecked), 0,
         {kFixed, kUnchecked, kUnchecked, kUnchecked, kUnchecked}},
        {"a fixed grandchild stays and keeps its parents checked", tree(kFixed, kUnchecked, kFixed, kUnchecked), 1,
         {kFixed, kPartlyChecked, kChecked, kFixed, kUnchecked}},
        {"a click outside the tree changes nothing", tree(kFixed, kUnchecked, kUnchecked, kChecked), 9,
         {kFixed, kPartlyChecked, kUnchecked, kUnchecked, kChecked}},
    };
    for (Case c : cases) {
        toggleItem(c.items, c.clicked);
        EXPECT_EQ(states(c.items), c.after) << c.what;
    }
}

TEST(CheckStates, DeepTreesNeedNoRecursion)
{
    constexpr std::int32_t kDepth = 200000;
    std::vector<CheckItem> chain(kDepth);
    for (std::int32_t i = 1; i < kDepth; ++i)
        chain[std::size_t(i)].parent = i - 1;
    toggleItem(chain, std::size_t(kDepth - 1));
    EXPECT_EQ(chain.front().state, kChecked);
    toggleItem(chain, 0);
    EXPECT_EQ(chain.back().state, kUnchecked);
}
