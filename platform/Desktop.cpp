#include "platform/Desktop.h"

#include <exception>

namespace brenvik {

Desktop::Desktop() : userInterface_(std::this_thread::get_id()) {}

void Desktop::runAside(const std::function<void()>& work) {
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    if (running_++ == 0)
        stop_ = false;
    ++working_;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        --working_;
        wake();
    });
    // However the loop is left (a test's desktop ends the program by throwing), the thread is
    // joined: the program ends only once its work has stopped. What the work posted for a loop
    // that is gone is dropped with it: it may speak of objects that are gone too.
    struct Join {
        Desktop& desktop;
        std::thread& thread;
        int unwinding = std::uncaught_exceptions();
        ~Join() {
            thread.join();
            --desktop.running_;
            if (std::uncaught_exceptions() > unwinding) {
                const std::lock_guard<std::mutex> lock(desktop.postedMutex_);
                desktop.posted_.clear();
            }
        }
    } join{*this, worker};
    handleEventsUntil([&] {
        runPosted();
        return done.load();
    });
    runPosted();
    if (failure)
        std::rethrow_exception(failure);
}

void Desktop::post(std::function<void()> f) {
    if (std::this_thread::get_id() == userInterface_) {
        f();
        return;
    }
    bool first = false;
    {
        const std::lock_guard<std::mutex> lock(postedMutex_);
        first = posted_.empty();
        posted_.push_back(std::move(f));
    }
    // One wake for a run of posts: the loop takes them all at once.
    if (first)
        wake();
}

void Desktop::runPosted() {
    for (;;) {
        std::deque<std::function<void()>> batch;
        {
            const std::lock_guard<std::mutex> lock(postedMutex_);
            batch.swap(posted_);
        }
        if (batch.empty())
            return;
        for (auto& f : batch)
            f();
    }
}

void Desktop::stopWork() {
    if (!busy())
        return;
    stop_ = true;
    handleEventsUntil([this] {
        runPosted();
        return working_ == 0;
    });
}

void Desktop::throwIfStopped() const {
    if (stop_)
        throw WorkStopped{};
}

} // namespace brenvik
