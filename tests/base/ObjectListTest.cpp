#include "base/Exceptions.h"
#include "base/TObjectList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kv {
namespace {

struct Item {
    Item(int key, std::string name, int* destroyed = nullptr) : Key(key), Name(std::move(name)), Destroyed(destroyed) {}
    ~Item()
    {
        if (Destroyed) ++*Destroyed;
    }
    int Key;
    std::string Name;
    int* Destroyed;
};

std::string Names(const TObjectList<Item>& list)
{
    std::string names;
    for (const auto& item : list) names += item->Name;
    return names;
}

TEST(ObjectListTest, AddInsertAndItems)
{
    TObjectList<Item> list;
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    EXPECT_EQ(list.Add(std::make_unique<Item>(1, "a")), 0);
    EXPECT_EQ(list.Add(std::make_unique<Item>(2, "c")), 1);
    list.Insert(1, std::make_unique<Item>(3, "b"));
    list.Insert(3, std::make_unique<Item>(4, "d"));
    list.Insert(0, std::make_unique<Item>(0, "_"));
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(Names(list), "_abcd");
    EXPECT_EQ(list.Items(2)->Name, "b");
    EXPECT_EQ(list.First()->Name, "_");
    EXPECT_EQ(list.Last()->Name, "d");
    EXPECT_EQ(list.IndexOf(list.Items(3)), 3);
    Item outside(9, "z");
    EXPECT_EQ(list.IndexOf(&outside), -1);
}

TEST(ObjectListTest, IndexOutOfBounds)
{
    TObjectList<Item> list;
    for (int i = 0; i < 5; ++i) list.Add(std::make_unique<Item>(i, "x"));
    try {
        list.Items(5);
        FAIL() << "no exception";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (5)");
    }
    EXPECT_THROW(list.Items(-1), EListError);
    EXPECT_THROW(list.Delete(5), EListError);
    EXPECT_THROW(list.Extract(-1), EListError);
    EXPECT_THROW(list.Insert(6, std::make_unique<Item>(0, "y")), EListError);
    EXPECT_THROW(list.Insert(-1, std::make_unique<Item>(0, "y")), EListError);
    EXPECT_EQ(list.Count(), 5);
}

TEST(ObjectListTest, DeleteAndClearFree)
{
    int destroyed = 0;
    TObjectList<Item> list;
    for (int i = 0; i < 4; ++i) list.Add(std::make_unique<Item>(i, std::string(1, char('a' + i)), &destroyed));
    list.Delete(1);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(Names(list), "acd");
    list.Clear();
    EXPECT_EQ(destroyed, 4);
    EXPECT_TRUE(list.Empty());
    {
        TObjectList<Item> scoped;
        scoped.Add(std::make_unique<Item>(0, "x", &destroyed));
    }
    EXPECT_EQ(destroyed, 5);
}

TEST(ObjectListTest, ExtractHandsOwnershipBack)
{
    int destroyed = 0;
    std::unique_ptr<Item> taken;
    {
        TObjectList<Item> list;
        list.Add(std::make_unique<Item>(1, "a", &destroyed));
        list.Add(std::make_unique<Item>(2, "b", &destroyed));
        list.Add(std::make_unique<Item>(3, "c", &destroyed));
        Item* b = list.Items(1);
        taken = list.Extract(1);
        EXPECT_EQ(taken.get(), b);
        EXPECT_EQ(Names(list), "ac");
        EXPECT_EQ(list.IndexOf(b), -1);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 2); // the list freed only what it still held
    EXPECT_EQ(taken->Name, "b");
    taken.reset();
    EXPECT_EQ(destroyed, 3);
}

TEST(ObjectListTest, StableSortKeepsEqualElementsInOrder)
{
    TObjectList<Item> list;
    const int keys[] = {3, 1, 2, 1, 3, 2, 1};
    const char* names[] = {"a", "b", "c", "d", "e", "f", "g"};
    for (int i = 0; i < 7; ++i) list.Add(std::make_unique<Item>(keys[i], names[i]));
    list.StableSort([](const Item& x, const Item& y) { return x.Key < y.Key; });
    EXPECT_EQ(Names(list), "bdgcfae");
    // Larger lists too (std::stable_sort switches strategy with size).
    TObjectList<Item> big;
    for (int i = 0; i < 1000; ++i) big.Add(std::make_unique<Item>((i * 7919) % 10, std::to_string(i)));
    big.StableSort([](const Item& x, const Item& y) { return x.Key < y.Key; });
    for (int i = 1; i < big.Count(); ++i) {
        const Item* prev = big.Items(i - 1);
        const Item* cur = big.Items(i);
        ASSERT_LE(prev->Key, cur->Key);
        if (prev->Key == cur->Key) {
            ASSERT_LT(std::stoi(prev->Name), std::stoi(cur->Name));
        }
    }
}

TEST(ObjectListTest, RemoveIf)
{
    int destroyed = 0;
    TObjectList<Item> list;
    for (int i = 0; i < 8; ++i) list.Add(std::make_unique<Item>(i, std::string(1, char('a' + i)), &destroyed));
    EXPECT_EQ(list.RemoveIf([](const Item& item) { return item.Key % 3 == 0; }), 3);
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(Names(list), "bcefh");
    EXPECT_EQ(list.RemoveIf([](const Item&) { return false; }), 0);
    EXPECT_EQ(list.RemoveIf([](const Item&) { return true; }), 5);
    EXPECT_EQ(destroyed, 8);
    EXPECT_TRUE(list.Empty());
}

} // namespace
} // namespace kv
