#pragma once
// Conversions between UTF-8 (the installer's text form) and UTF-16. The decoder takes any byte
// that does not start a well-formed 2- or 3-byte sequence as the Latin-1 character of the same
// value; overlong forms, surrogates, U+FFFE, U+FFFF and a sequence cut off by maxBytes make the
// whole conversion fail.
#include "installer/text/ByteString.h"

#include <cstdint>
#include <optional>
#include <string>

// Decodes up to the NUL (maxBytes -1) or up to maxBytes bytes. Returns the number of UTF-16
// units including the terminating NUL and writes them to out when it is not null (out must have
// room for that many: measure first with out = null). 0 on failure, out then starts with NUL.
int utf8Decode(const char* text, int maxBytes, char16_t* out);
// Encodes up to the NUL (maxUnits -1) or up to maxUnits units; surrogates unit by unit. Returns
// the byte count including the terminating NUL, writing the bytes when out is not null.
int utf8Encode(const char16_t* wide, int maxUnits, char* out);

// New buffers sized by a measuring pass. Null input gives nothing; a failed decode an empty text.
std::optional<std::u16string> utf8ToWide(const char* text, int maxBytes = -1);
std::optional<ByteString> wideToUtf8(const char16_t* wide, int maxUnits = -1);
