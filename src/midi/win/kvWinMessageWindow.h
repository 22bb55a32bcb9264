#pragma once
// A hidden message-only window (HWND_MESSAGE) of the calling thread: WM_MIDITIMER goes to its
// method, every other message to the default window procedure. Ticks that were posted while one
// was handled are dropped after it.
#include "midi/kvMidiMessageWindow.h"

#include <windows.h>

namespace kv {

class TKVWinMessageWindow : public TKVMessageWindow {
public:
    // Raises an Exception when the window cannot be created.
    explicit TKVWinMessageWindow(TKVWndMethod Method);
    ~TKVWinMessageWindow() override;
    std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(FHandle); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    TKVWndMethod FMethod;
    HWND FHandle = nullptr;
};

} // namespace kv
