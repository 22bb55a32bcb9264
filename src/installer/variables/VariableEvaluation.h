#pragma once
// Reads the value of a user variable from its source the first time it is needed.
#include <cstdint>

// Evaluates list entry index unless it is known already (or index is outside the list). Its
// texts are expanded first (folder names, built-in names, then the user variables); a variable
// met again while its own texts are being expanded keeps its current value there.
void evaluateVariable(std::int32_t index);

// How deep evaluations may nest (a variable whose texts name another not yet evaluated, and so
// on). Deeper entries are treated like one already being evaluated, so a long chain of names in
// a package cannot exhaust the stack.
constexpr int kMaxVariableNesting = 64;
