#pragma once
// While it lives, the system shows no box of its own for a missing disk or a damaged file
// (loading a library or a type library of the package may meet one).
#include <windows.h>

class CriticalErrorBoxesSuppressed {
public:
    CriticalErrorBoxesSuppressed() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~CriticalErrorBoxesSuppressed() { SetErrorMode(previous_); }
    CriticalErrorBoxesSuppressed(const CriticalErrorBoxesSuppressed&) = delete;
    CriticalErrorBoxesSuppressed& operator=(const CriticalErrorBoxesSuppressed&) = delete;

private:
    UINT previous_;
};
