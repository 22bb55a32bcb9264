#pragma once
// The condition an entry of the table of contents, a page template or a packed file may carry.
// An entry without a record (a null pointer) always holds.
#include "installer/text/ByteString.h"

#include <cstdint>
#include <memory>
#include <vector>

// The system and combination bits of a condition's first word.
enum ConditionOsFlag : std::uint32_t {
    kConditionAnyOs = 0x1,
    kConditionWin95 = 0x2,
    kConditionWin98 = 0x4,
    kConditionWinMe = 0x8,
    kConditionNt4 = 0x10,
    kConditionWin2000 = 0x20,
    kConditionWinXp = 0x40,
    kConditionServer2003 = 0x80,
    kConditionLaterNt = 0x100,
    kConditionAnyNt = 0x20000000,
    kConditionAny9x = 0x40000000,
    kConditionCombineWithOr = 0x80000000,
};

// Comparison operators; any other value is a bitwise test between numbers (false between texts).
enum ConditionOperator : std::int32_t {
    kCompareEqual = 0,
    kCompareNotEqual = 1,
    kCompareGreater = 2,
    kCompareLess = 3,
    kCompareGreaterOrEqual = 4,
    kCompareLessOrEqual = 5,
    kCompareContains = 6,
};

struct ConditionComparison {
    ByteString left;
    std::int32_t op = kCompareEqual;
    ByteString right;
};

struct ConditionRecord {
    // Never 0: a stored 0 means the item has no record.
    std::uint32_t osFlags = 0;
    std::vector<ConditionComparison> comparisons;
};

using ConditionPtr = std::unique_ptr<ConditionRecord>;
