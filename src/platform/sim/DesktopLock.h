#pragma once

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

namespace veltrane::sim {

// Guards the simulated desktop's state when the application runs on real threads; on virtual time
// one driver runs everything and the lock does nothing. A thread may take it again while it holds
// it. The simulator never runs application code while it holds the lock: it queues that code, or
// lets the lock go for as long as it waits for the application (an event tap's callback).
class DesktopLock {
public:
    explicit DesktopLock(bool realThreads) : real_(realThreads) {}
    DesktopLock(const DesktopLock&) = delete;
    DesktopLock& operator=(const DesktopLock&) = delete;

    void lock();
    void unlock();
    // Runs the task without the lock, however often the calling thread holds it, and takes the
    // lock back as often afterwards.
    template <class Task> void releasedDuring(Task&& task);

private:
    class Release;

    const bool real_;
    std::mutex mutex_;
    std::atomic<std::thread::id> owner_;
    // Touched only by the owner.
    int depth_ = 0;
};

// Lets the lock go for its lifetime and takes it back, also when the task throws.
class DesktopLock::Release {
public:
    explicit Release(DesktopLock& lock) : lock_(lock), depth_(std::exchange(lock.depth_, 0))
    {
        lock_.owner_.store(std::thread::id());
        lock_.mutex_.unlock();
    }
    ~Release()
    {
        lock_.mutex_.lock();
        lock_.owner_.store(std::this_thread::get_id());
        lock_.depth_ = depth_;
    }
    Release(const Release&) = delete;
    Release& operator=(const Release&) = delete;

private:
    DesktopLock& lock_;
    const int depth_;
};

template <class Task> void DesktopLock::releasedDuring(Task&& task)
{
    if (!real_ || owner_.load() != std::this_thread::get_id()) {
        task();
        return;
    }
    const Release release(*this);
    task();
}

}  // namespace veltrane::sim
