#include "installer/memory/MovableBlock.h"
#include "installer/text/ByteString.h"

#include <gtest/gtest.h>

namespace {

TEST(MovableBlockTest, GrowingOneByteAtATimeReallocatesLogarithmically)
{
    MovableBlock block;
    int reallocations = 0;
    std::size_t capacity = block.capacity();
    for (std::size_t size = 1; size <= (1u << 20); ++size) {
        block.reserve(size);
        block.data()[size - 1] = static_cast<std::uint8_t>(size);
        if (block.capacity() != capacity) {
            ++reallocations;
            capacity = block.capacity();
        }
    }
    EXPECT_LE(reallocations, 20);
    EXPECT_EQ(block.data()[1000], static_cast<std::uint8_t>(1001));
}

TEST(MovableBlockTest, AppendingAMegabyteByteByByteKeepsEveryByte)
{
    ByteString s;
    for (std::uint32_t i = 0; i < (1u << 20); ++i)
        s.appendChar(static_cast<std::uint8_t>(i * 31));
    ASSERT_EQ(s.length(), 1u << 20);
    for (std::uint32_t i = 0; i < s.length(); i += 4099)
        ASSERT_EQ(s.at(i), static_cast<std::uint8_t>(i * 31));
}

} // namespace
