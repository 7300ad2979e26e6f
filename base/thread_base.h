// kbase::kxThreadBase: owns one worker thread, started once and stopped within a time limit.
#pragma once

#include <windows.h>
#include <process.h>

#include <new>

#include "base/handles.h"
#include "base/locker.h"

namespace kbase {

template <typename LockT>
class kxThreadBase {
public:
    // Results of Start and Terminate.
    static constexpr int kStarted = 0;
    static constexpr int kAlreadyRunning = 255;
    static constexpr int kNoThread = 254;
    static constexpr int kNoMemory = 250;
    static constexpr int kNotRunning = 253;
    static constexpr int kStopNotRunning = -3;

    kxThreadBase() = default;
    kxThreadBase(const kxThreadBase&) = delete;
    kxThreadBase& operator=(const kxThreadBase&) = delete;

    virtual void OnThreadStart() {}
    virtual void OnThreadEnd(int) {}
    // A derived class ends the thread before its own members go away (Stop or Terminate).
    virtual ~kxThreadBase() = default;

    // Ends the thread by force; kNotRunning when it had ended already.
    virtual int Terminate() {
        ScopedLock<LockT> startStop(startStopLock_);
        ScopedLock<LockT> state(stateLock_);
        if (!running_) return kNotRunning;
        TerminateThread(thread_.get(), 0);
        thread_.reset();
        running_ = false;
        return kStarted;
    }

    // Waits up to `milliseconds` for the thread to end, then ends it by force.
    virtual int Stop(int milliseconds) {
        const bool wasRunning = IsRunning();
        if (thread_ && WaitForSingleObject(thread_.get(), static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0) {
            Terminate();
        }
        ScopedLock<LockT> startStop(startStopLock_);
        thread_.reset();
        return wasRunning ? 0 : kStopNotRunning;
    }

    virtual int Run(int parameter, int argument) = 0;

    // Starts the thread and returns once it runs.
    int Start(int argument) {
        ScopedLock<LockT> startStop(startStopLock_);
        if (IsRunning()) return kAlreadyRunning;
        // The handle of a thread that ended by itself is closed here.
        thread_.reset();
        StartRecord* record = new (std::nothrow) StartRecord{this, argument};
        if (!record) return kNoMemory;
        OnBeforeStart();
        started_ = false;
        unsigned id = 0;
        const uintptr_t thread = _beginthreadex(nullptr, 0, ThreadMain, record, 0, &id);
        if (thread == 0) {
            delete record;
            return kNoThread;
        }
        thread_.reset(reinterpret_cast<HANDLE>(thread));
        threadId_ = id;
        // `started_` rather than `running_`: a thread that ends at once must not leave us
        // waiting for ever.
        for (;;) {
            {
                ScopedLock<LockT> state(stateLock_);
                if (started_) break;
            }
            Sleep(1);
        }
        return kStarted;
    }

    bool IsRunning() {
        ScopedLock<LockT> state(stateLock_);
        return running_;
    }

protected:
    // Runs on the starting thread before the new thread exists.
    virtual void OnBeforeStart() {}

    void set_run_parameter(int parameter) { runParameter_ = parameter; }
    LockT& start_stop_lock() { return startStopLock_; }
    LockT& state_lock() { return stateLock_; }

private:
    struct StartRecord {
        kxThreadBase* owner;
        int argument;
    };

    static unsigned __stdcall ThreadMain(void* param) {
        StartRecord* record = static_cast<StartRecord*>(param);
        kxThreadBase* owner = record->owner;
        const int argument = record->argument;
        delete record;
        {
            ScopedLock<LockT> state(owner->stateLock_);
            owner->running_ = true;
            owner->started_ = true;
        }
        owner->OnThreadStart();
        const int result = owner->Run(owner->runParameter_, argument);
        owner->OnThreadEnd(result);
        ScopedLock<LockT> state(owner->stateLock_);
        owner->running_ = false;
        return static_cast<unsigned>(result);
    }

    bool running_ = false;
    bool started_ = false;
    UniqueHandle thread_;
    unsigned threadId_ = 0;
    int runParameter_ = 0;
    LockT stateLock_;
    LockT startStopLock_;
};

}  // namespace kbase
