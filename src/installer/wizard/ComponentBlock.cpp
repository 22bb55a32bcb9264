#include "installer/wizard/ComponentBlock.h"

namespace {

class BlockCursor {
public:
    explicit BlockCursor(const ByteString& block) : block_(block) {}

    bool word(std::uint32_t& value)
    {
        if (block_.length() - position_ < 4)
            return false;
        value = block_.readBE32(position_);
        position_ += 4;
        return true;
    }

    bool text(ByteString& value)
    {
        std::uint32_t length = 0;
        if (!word(length) || length > block_.length() - position_)
            return false;
        value = block_.substr(position_, length);
        position_ += length;
        return true;
    }

private:
    const ByteString& block_;
    std::uint32_t position_ = 0;
};

bool readOne(BlockCursor& cursor, ComponentRecord& record, std::uint32_t& childCount)
{
    return cursor.text(record.name) && cursor.word(childCount) && cursor.text(record.description)
        && cursor.word(record.flags) && cursor.word(record.bytes) && cursor.word(record.mp3Bytes)
        && cursor.word(record.jpegBytes) && cursor.word(record.otherBytes);
}

} // namespace

std::optional<std::vector<ComponentRecord>> readComponentBlock(const ByteString& block, std::uint32_t topLevelCount)
{
    // The smallest component: two empty texts' lengths and six words.
    constexpr std::uint32_t kSmallestComponent = 32;
    if (topLevelCount > block.length() / kSmallestComponent)
        return std::nullopt;
    struct Open {
        std::int32_t index;
        std::uint32_t childrenLeft;
    };
    std::vector<ComponentRecord> records;
    std::vector<Open> open;
    BlockCursor cursor(block);
    std::uint32_t topLevelLeft = topLevelCount;
    while (topLevelLeft > 0 || !open.empty()) {
        while (!open.empty() && open.back().childrenLeft == 0)
            open.pop_back();
        if (open.empty()) {
            if (topLevelLeft == 0)
                break;
            --topLevelLeft;
        } else {
            --open.back().childrenLeft;
        }
        ComponentRecord record;
        std::uint32_t childCount = 0;
        if (!readOne(cursor, record, childCount))
            return std::nullopt;
        record.parent = open.empty() ? -1 : open.back().index;
        record.depth = std::uint32_t(open.size());
        records.push_back(std::move(record));
        if (childCount > 0) {
            if (childCount > block.length() / kSmallestComponent)
                return std::nullopt;
            open.push_back({std::int32_t(records.size() - 1), childCount});
        }
    }
    return records;
}
