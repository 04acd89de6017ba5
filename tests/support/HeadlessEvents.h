#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace brenvik {

// The event loop of a desktop without windows: it sleeps until woken by work running aside, or
// until `most` has passed, and then looks again.
class HeadlessEvents {
public:
    void sleep(std::chrono::milliseconds most) {
        std::unique_lock<std::mutex> lock(mutex_);
        woken_.wait_for(lock, most, [this] { return wake_; });
        wake_ = false;
    }
    void wakeUp() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            wake_ = true;
        }
        woken_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wake_ = false;
};

} // namespace brenvik
