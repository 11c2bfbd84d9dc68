#include "platform/threads/SerialQueue.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <latch>
#include <limits>
#include <memory>
#include <string>
#include <thread>

namespace veltrane::threads {
namespace {

using Clock = std::chrono::steady_clock;

// The delays point past the end of the clock: a wait computed by adding them to now would overflow
// and fall due at once. While the queue's thread waits for its next timer, timers added from elsewhere
// grow the timer heap under it; the wait must not keep pointing into the heap it had (the sanitizer
// build sees it). Were a dying queue to accept tasks, the one that keeps queueing itself would keep it,
// and the test, running forever.
TEST(SerialQueueDestruction, RunsWhatIsQueuedOrDueButNeitherNewTasksNorDelaysBeyondTheClock)
{
    int ran = 0;
    std::atomic<int> delayedRan = 0;
    std::atomic<int> requeued = 0;
    std::function<void()> again;
    std::latch due(64);
    std::latch release(1);
    {
        SerialQueue queue("drain");
        const double pastTheClock =
            std::chrono::duration<double>(Clock::time_point::max() - Clock::now()).count() + 1;
        for (double seconds : {std::numeric_limits<double>::infinity(), 1e300, pastTheClock, 1e9}) {
            queue.asyncAfter(seconds, [&] { ++delayedRan; });
        }
        queue.sync([] {});
        for (int i = 64; i > 0; --i) {
            queue.asyncAfter(0.001 * i, [&] {
                ++ran;
                due.count_down();
            });
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        due.wait();
        queue.async([&] { release.wait(); });
        for (int i = 0; i < 100; ++i) {
            queue.async([&] { ++ran; });
        }
        again = [&] {
            ++requeued;
            queue.async(again);
        };
        queue.async(again);
        release.count_down();
    }
    EXPECT_EQ(ran, 164);
    EXPECT_EQ(delayedRan, 0);
    EXPECT_GE(requeued, 1);
}

// Sync, isCurrent and the label are the queue contract's; only this queue has a thread of its own,
// where it is the current queue until it is destroyed, from its own task if need be.
TEST(SerialQueueThread, IsNamedAfterTheTruncatedLabelAndFinishesTheQueuedTasksWithoutTheQueue)
{
    auto queue = std::make_unique<SerialQueue>("veltrane.keyboard.tap");
    EXPECT_EQ(SerialQueue::current(), nullptr);
    std::array<char, 32> name{};
    const SerialQueue* current = nullptr;
    queue->sync([&] {
        pthread_getname_np(pthread_self(), name.data(), name.size());
        current = SerialQueue::current();
    });
    EXPECT_EQ(std::string(name.data()), "veltrane.keyboa");
    EXPECT_EQ(current, queue.get());

    std::latch release(1);
    std::latch finished(1);
    int ranAfter = 0;
    queue->async([&] { release.wait(); });
    queue->async([&] {
        queue.reset();
        current = SerialQueue::current();
    });
    queue->async([&] { ++ranAfter; });
    queue->async([&] { finished.count_down(); });
    release.count_down();
    finished.wait();
    EXPECT_EQ(current, nullptr);
    EXPECT_EQ(ranAfter, 1);
}

}  // namespace
}  // namespace veltrane::threads
