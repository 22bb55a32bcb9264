#pragma once
// The system's code for the last failed call and its message text.
#include "installer/text/ByteString.h"

#include <cstdint>

// 0 when the system reports no error.
std::uint32_t lastSystemError();
// The system's message for code, without a trailing line break; empty when it has none.
ByteString systemErrorMessage(std::uint32_t code);
