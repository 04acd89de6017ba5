#pragma once

#include "platform/Desktop.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace brenvik {

// A desktop without windows: while work runs aside its event loop sleeps until the work wakes it,
// or until `poll` has passed, runs eachTurn() and looks again.
class HeadlessDesktop : public Desktop {
protected:
    explicit HeadlessDesktop(std::chrono::milliseconds poll) : poll_(poll) {}

    // What the loop does at each turn besides what the work posted.
    virtual void eachTurn() {}

    void handleEventsUntil(const std::function<bool()>& done) override {
        while (!done()) {
            eachTurn();
            std::unique_lock<std::mutex> lock(mutex_);
            woken_.wait_for(lock, poll_, [this] { return wake_; });
            wake_ = false;
        }
    }
    void wake() override {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            wake_ = true;
        }
        woken_.notify_one();
    }

private:
    std::chrono::milliseconds poll_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wake_ = false;
};

} // namespace brenvik
