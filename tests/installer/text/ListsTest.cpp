#include "installer/text/PointerList.h"
#include "installer/text/RecordArray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int a, b, c, d;

std::vector<void*> itemsOf(const PointerList& list)
{
    std::vector<void*> items;
    for (std::int32_t i = 0; i < list.count(); ++i)
        items.push_back(list.get(i));
    return items;
}

TEST(PointerListTest, RefusesDuplicatesUnlessAllowed)
{
    PointerList list;
    EXPECT_EQ(list.add(&a), 1);
    EXPECT_EQ(list.add(&a), -1);
    EXPECT_EQ(list.count(), 1);
    list.allowDuplicates = true;
    EXPECT_EQ(list.add(&a), 1);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.indexOf(&a), 0);
    EXPECT_TRUE(list.modified);
}

TEST(PointerListTest, AddPlacesTheItemOnlyInsideTheList)
{
    struct Case { std::int32_t position; std::vector<void*> expected; };
    const Case cases[] = {
        {-1, {&a, &b, &c, &d}},
        {3, {&a, &b, &c, &d}}, // new count - 1
        {7, {&a, &b, &c, &d}}, // beyond the list
        {0, {&d, &a, &b, &c}},
        {1, {&a, &d, &b, &c}},
    };
    for (const Case& cs : cases) {
        PointerList list;
        list.add(&a);
        list.add(&b);
        list.add(&c);
        EXPECT_EQ(list.add(&d, cs.position), 1);
        EXPECT_EQ(itemsOf(list), cs.expected) << cs.position;
    }
}

TEST(PointerListTest, MoveShiftsTheItemsBetween)
{
    struct Case { std::int32_t from, to; int result; std::vector<void*> expected; };
    const Case cases[] = {
        {2, 0, 1, {&c, &a, &b}},
        {0, 2, 1, {&b, &c, &a}},
        {1, 1, -1, {&a, &b, &c}},
        {-1, 0, -1, {&a, &b, &c}},
        {0, 3, -1, {&a, &b, &c}},
        {3, 0, -1, {&a, &b, &c}},
    };
    for (const Case& cs : cases) {
        PointerList list;
        list.add(&a);
        list.add(&b);
        list.add(&c);
        EXPECT_EQ(list.move(cs.from, cs.to), cs.result) << cs.from << "->" << cs.to;
        EXPECT_EQ(itemsOf(list), cs.expected) << cs.from << "->" << cs.to;
    }
}

TEST(PointerListTest, GetSetRemoveAndClear)
{
    PointerList list;
    EXPECT_EQ(list.remove(&a), -1); // an empty list has nothing to remove
    list.add(&a);
    list.add(&b);
    list.add(&c);
    EXPECT_EQ(list.get(-1), nullptr);
    EXPECT_EQ(list.get(3), nullptr);
    EXPECT_EQ(list.set(1, &d), 1);
    EXPECT_EQ(list.set(5, &d), 5);
    EXPECT_EQ(itemsOf(list), (std::vector<void*>{&a, &d, &c}));
    EXPECT_EQ(list.remove(&d), 1);
    EXPECT_EQ(list.remove(&d), -1);
    EXPECT_EQ(itemsOf(list), (std::vector<void*>{&a, &c}));
    EXPECT_EQ(list.clear(), 1);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.get(0), nullptr);
    EXPECT_EQ(list.add(&a), 1); // usable again after clear
}

TEST(PointerListTest, ManyItemsKeepTheirOrder)
{
    std::vector<int> values(5000);
    PointerList list;
    for (int& v : values)
        ASSERT_EQ(list.add(&v), 1);
    for (std::size_t i = 0; i < values.size(); i += 2)
        ASSERT_EQ(list.remove(&values[i]), 1);
    ASSERT_EQ(list.count(), 2500);
    for (std::int32_t i = 0; i < list.count(); ++i)
        ASSERT_EQ(list.get(i), &values[2 * i + 1]);
}

std::string contentOf(const std::uint8_t* data, std::int32_t count)
{
    return std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(count));
}

TEST(RecordArrayTest, KeepsTheOutsidePointerCurrent)
{
    std::uint8_t* records = reinterpret_cast<std::uint8_t*>(&a);
    {
        RecordArray array;
        EXPECT_EQ(array.recordSize(), 4);
        EXPECT_EQ(array.attach(&records, 3), 1);
        EXPECT_NE(records, nullptr);
        for (int i = 0; i < 1000; ++i) {
            const char record[3] = {static_cast<char>('a' + i % 26), '-', static_cast<char>(i)};
            ASSERT_EQ(array.append(record), 1);
            ASSERT_EQ(records, array.records()); // refreshed after every change
        }
        EXPECT_EQ(array.count(), 1000);
        EXPECT_EQ(contentOf(records + 3 * 27, 2), "b-");
        EXPECT_EQ(array.appendN("xyzXYZ", 2), 1);
        EXPECT_EQ(contentOf(records + 3 * 1000, 6), "xyzXYZ");
        EXPECT_EQ(array.removeAt(0), 1);
        EXPECT_EQ(contentOf(records, 2), "b-");
        EXPECT_EQ(array.removeAt(1001), -1);
        EXPECT_EQ(array.removeAt(-1), -1);
        array.clear();
        EXPECT_EQ(array.count(), 0);
        EXPECT_EQ(records, array.records());
    }
    EXPECT_EQ(records, nullptr); // the destructor frees and clears the outside pointer
}

TEST(RecordArrayTest, DoubleNulListOfOneByteRecords)
{
    std::uint8_t* list = nullptr;
    RecordArray array;
    array.attach(&list, 1);
    EXPECT_EQ(array.removeAt(0), -1);
    appendToDoubleNulList(array, "C:\\A");
    EXPECT_EQ(contentOf(list, array.count()), std::string("C:\\A\0\0", 6));
    appendToDoubleNulList(array, "C:\\A\\B");
    EXPECT_EQ(contentOf(list, array.count()), std::string("C:\\A\0C:\\A\\B\0\0", 13));
    EXPECT_EQ(array.removeAt(array.count() - 1), 1); // drops the final byte
    EXPECT_EQ(contentOf(list, array.count()), std::string("C:\\A\0C:\\A\\B\0", 12));
    array.free();
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(array.count(), 0);
}

} // namespace
