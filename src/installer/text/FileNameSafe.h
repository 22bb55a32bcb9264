#pragma once
// A text made usable as a file or mutex name: each colon, slash, backslash, vertical bar,
// asterisk, question mark, double quote, less-than and greater-than sign becomes an underscore.
#include "installer/text/ByteString.h"

ByteString fileNameSafe(const ByteString& text);
