#pragma once
// The system's upper-casing of the characters of a text (the ANSI code page's rules on Windows,
// ASCII and the installer's own few letters natively).
#include "installer/text/ByteString.h"

void systemUpperCase(ByteString& text);
