// kbase::kxQueueThreadRun: a thread that hands queued items, oldest first, to a callback.
#pragma once

#include <windows.h>

#include <deque>
#include <optional>
#include <utility>

#include "base/handles.h"
#include "base/locker.h"
#include "base/thread_base.h"

namespace kbase {

template <typename T>
class _CallBack {
public:
    virtual void Process(int parameter, T& item) = 0;

protected:
    ~_CallBack() = default;
};

// `Reserved` is part of the type's name in the reporting library and has no effect here.
template <typename T, int Reserved, typename LockT>
class kxQueueThreadRun : public kxThreadBase<LockT> {
public:
    static constexpr int kEndStopped = 255;
    static constexpr int kEndTimedOut = 254;
    static constexpr int kEndOther = 253;

    // The events live as long as the object, so Stop and Push never meet a closed handle.
    kxQueueThreadRun()
        : dataEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          stopEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

    ~kxQueueThreadRun() override {
        Stop(1500);
        ScopedLock<LockT> queue(queueLock_);
        queue_.clear();
    }

    void Init(_CallBack<T>* callback) { callback_ = callback; }

    // Queues a copy of `item` while the thread runs; an item given to a stopped queue is
    // dropped.
    void Push(const T& item) {
        ScopedLock<LockT> queue(queueLock_);
        if (!this->IsRunning()) return;
        queue_.push_back(item);
        SetEvent(dataEvent_.get());
    }

    int Stop(int milliseconds) override {
        SetEvent(stopEvent_.get());
        return kxThreadBase<LockT>::Stop(milliseconds);
    }

    int Terminate() override {
        ScopedLock<LockT> queue(queueLock_);
        return kxThreadBase<LockT>::Terminate();
    }

    int Run(int parameter, int) override {
        const HANDLE events[] = {dataEvent_.get(), stopEvent_.get()};
        for (;;) {
            // The data event is listed first and stays set until the queue is found empty,
            // so a stop request waits for every queued item.
            const DWORD woken = WaitForMultipleObjects(2, events, FALSE, waitTimeout_);
            if (woken != WAIT_OBJECT_0) {
                ScopedLock<LockT> queue(queueLock_);
                queue_.clear();
                if (woken == WAIT_OBJECT_0 + 1) return kEndStopped;
                return woken == WAIT_TIMEOUT ? kEndTimedOut : kEndOther;
            }
            std::optional<T> item;
            {
                ScopedLock<LockT> queue(queueLock_);
                if (queue_.empty()) {
                    ResetEvent(dataEvent_.get());
                } else {
                    item.emplace(std::move(queue_.front()));
                    queue_.pop_front();
                }
            }
            if (item && callback_) callback_->Process(parameter, *item);
        }
    }

protected:
    // A stop request left over from an earlier run must not end the new one at once.
    void OnBeforeStart() override { ResetEvent(stopEvent_.get()); }

private:
    DWORD waitTimeout_ = INFINITE;
    _CallBack<T>* callback_ = nullptr;
    std::deque<T> queue_;
    LockT queueLock_;
    UniqueHandle dataEvent_;
    UniqueHandle stopEvent_;
};

}  // namespace kbase
