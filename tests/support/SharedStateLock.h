#pragma once
// A lock held by one test at a time across the test programs of a Wine prefix, taken for the
// whole length of a test that uses state all of them share:
// - the machine: tests that change the same registry keys (the registration stand-in's key, a
//   product's key) or compare the machine's state before and after a run;
// - the real mouse cursor: tests that move it, or whose windows follow where it is (the
//   programs' windows overlap on one display, so a cursor moved by one lands on another's).
#include <windows.h>

inline constexpr const wchar_t* kMachineStateLock = L"kv_tests_shared_machine_state";
inline constexpr const wchar_t* kRealCursorLock = L"kv_tests_real_cursor";

class SharedStateLock {
public:
    explicit SharedStateLock(const wchar_t* name = kMachineStateLock) : mutex_(CreateMutexW(nullptr, FALSE, name))
    {
        if (mutex_)
            WaitForSingleObject(mutex_, INFINITE);
    }
    ~SharedStateLock()
    {
        if (mutex_) {
            ReleaseMutex(mutex_);
            CloseHandle(mutex_);
        }
    }
    SharedStateLock(const SharedStateLock&) = delete;
    SharedStateLock& operator=(const SharedStateLock&) = delete;

private:
    HANDLE mutex_;
};
