#pragma once
// Lists of NUL-terminated strings ended by an empty string (double-NUL lists).
#include <cstdint>
#include <vector>

// String n (from 0), or null when the list is null or empty or ends first.
const char* multiStringItem(const char* list, int n);
// The byte offset of every string of a double-NUL list of the given total length, the closing
// empty string not counted. False for a null or empty list or a length below 2.
bool splitMultiString(const char* list, std::uint32_t length, std::vector<std::uint32_t>& offsets);
