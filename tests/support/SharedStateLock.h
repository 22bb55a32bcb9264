#pragma once
// Tests in different processes that change the same registry keys (the registration stand-in's
// key, a product's key) or compare the machine's state before and after a run take this lock
// for their whole length: held by one test at a time across the test programs of a Wine prefix.
#include <windows.h>

class SharedStateLock {
public:
    SharedStateLock() : mutex_(CreateMutexW(nullptr, FALSE, L"kv_tests_shared_machine_state"))
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
