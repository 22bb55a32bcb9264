#pragma once
// The message boxes and the folder browser the standard pages open. Tests replace them: no
// one answers a real box there.
#include "installer/text/ByteString.h"

#include <windows.h>

#include <cstdint>
#include <functional>

struct PageDialogs {
    // The installer's message box, captioned with the setup title; returns the button pressed.
    std::function<int(HWND owner, const ByteString& text, UINT type)> message;
    // The folder chosen, or an empty text on cancel.
    std::function<ByteString(HWND owner, const ByteString& title, const ByteString& start, std::uint64_t required)>
        browse;
};

// The dialogs in use; the real ones until a test sets its own.
PageDialogs& pageDialogs();
int pageMessage(HWND owner, const ByteString& text, UINT type);
ByteString pageBrowse(HWND owner, const ByteString& title, const ByteString& start, std::uint64_t required);
