#pragma once
// The installer's small "please wait" window (dialog 18), shown without an owner while start-up
// works; destroyed with the object.
#include <windows.h>

class BusyNote {
public:
    // A null text or caption keeps the dialog's own.
    BusyNote(const char* text, const char* caption = nullptr);
    ~BusyNote();
    BusyNote(const BusyNote&) = delete;
    BusyNote& operator=(const BusyNote&) = delete;

    HWND window() const { return window_; }
    // Dispatches every pending message of the note, so that it paints.
    void pumpMessages() const;

private:
    HWND window_ = nullptr;
};
