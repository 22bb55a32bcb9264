#pragma once
// Whether an item's condition holds on this system with the current variable values.
#include "installer/state/ConditionRecord.h"

// True for a null condition. Otherwise the system test (the bits of the operating systems the
// item is for), then the comparisons, combined with AND or OR and stopping as soon as the result
// is decided.
bool conditionHolds(const ConditionRecord* condition);
