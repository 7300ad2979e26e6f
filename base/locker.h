// A critical section that cannot be copied, and a scope that holds it.
#pragma once

#include <windows.h>

namespace kbase {

class Locker {
public:
    // Short waits spin before sleeping: the guarded sections are a few instructions long.
    Locker() { InitializeCriticalSectionAndSpinCount(&section_, 2000); }
    ~Locker() { DeleteCriticalSection(&section_); }
    Locker(const Locker&) = delete;
    Locker& operator=(const Locker&) = delete;

    void Lock() { EnterCriticalSection(&section_); }
    void Unlock() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

template <typename LockT>
class ScopedLock {
public:
    explicit ScopedLock(LockT& lock) : lock_(lock) { lock_.Lock(); }
    ~ScopedLock() { lock_.Unlock(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    LockT& lock_;
};

}  // namespace kbase
