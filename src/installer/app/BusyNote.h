#pragma once
// The installer's small "please wait" window (dialog 18), shown without an owner while start-up
// works; destroyed with the object. It carries a progress bar, drawn once the bar is created.
#include "installer/wizard/win/ProgressBar.h"

#include <windows.h>

class BusyNote {
public:
    // A null text or caption keeps the dialog's own.
    BusyNote(const char* text, const char* caption = nullptr);
    ~BusyNote();
    BusyNote(const BusyNote&) = delete;
    BusyNote& operator=(const BusyNote&) = delete;

    HWND window() const { return window_; }
    ProgressBar& progressBar() { return progressBar_; }
    // Dispatches every pending message of the note, so that it paints.
    void pumpMessages() const;

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    // Declared before the window: the dialog repaints the bar from its first message on.
    ProgressBar progressBar_;
    HWND window_ = nullptr;
};
