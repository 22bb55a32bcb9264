#pragma once
// The system clipboard as text, for the commands that copy (a trace's lines).
#include <windows.h>

#include <string>

namespace kv {

// Puts the text on the clipboard for the window Owner, replacing what it held. Raises an
// Exception that says what failed when the clipboard cannot take it.
void SetClipboardText(HWND Owner, const std::string& Text);

} // namespace kv
