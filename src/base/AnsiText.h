#pragma once
// Text in the system's ANSI code page, as MIDI files carry their names and as older editors write
// text files, turned into the program's UTF-8 and back.
#include <string>
#include <string_view>

namespace kv {

// Whether Text is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view Text);
// Each byte through the ANSI code page.
std::string AnsiToUtf8(std::string_view Text);
// Characters the ANSI code page lacks become "?".
std::string Utf8ToAnsi(std::string_view Text);

} // namespace kv
