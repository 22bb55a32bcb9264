#pragma once
// Decimal numbers in texts, as variables and conditions read and write them.
#include "installer/text/ByteString.h"

#include <cstdint>

// Leading blanks and one sign are accepted; reading stops at the first character that is not a
// digit; 0 when there is no digit. Values beyond 32 bits wrap around. A null text gives 0.
std::int32_t decimalValue(const char* text);
std::int32_t decimalValue(const ByteString& text);
// The signed decimal text of value.
ByteString decimalText(std::int32_t value);
// True when text is not empty and writing its value in decimal gives the same text ("7", "-3";
// not "07", "7a", " 7").
bool isExactDecimal(const ByteString& text);
