#pragma once
// A condition as the table of contents and the page templates store it: [osFlags]; when osFlags
// is not 0, [count] and per comparison [left text][operator][right text]. A stored osFlags of 0
// is no condition, and nothing follows it.
#include "installer/package/BlockReader.h"
#include "installer/state/ConditionRecord.h"

// Reads one stored condition into condition (null for none). False, with condition null, when
// the block ends inside it or its count is negative or larger than the block could hold.
bool readStoredCondition(BlockReader& reader, ConditionPtr& condition);
