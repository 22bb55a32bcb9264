#include "installer/package/StoredCondition.h"

namespace {
// The smallest comparison: two empty texts and the operator.
constexpr std::uint32_t kMinComparisonSize = 1 + 4 + 1;
} // namespace

bool readStoredCondition(BlockReader& reader, ConditionPtr& condition)
{
    condition.reset();
    std::uint32_t osFlags = 0;
    if (!reader.readUnsigned(osFlags))
        return false;
    if (osFlags == 0)
        return true;
    // The count is signed; a negative one, read unsigned, is far larger than any block.
    std::uint32_t count = 0;
    if (!reader.readCount(count, kMinComparisonSize))
        return false;
    auto record = std::make_unique<ConditionRecord>();
    record->osFlags = osFlags;
    record->comparisons.resize(count);
    for (auto& comparison : record->comparisons)
        if (!reader.readText(comparison.left) || !reader.readInt(comparison.op) || !reader.readText(comparison.right))
            return false;
    condition = std::move(record);
    return true;
}
