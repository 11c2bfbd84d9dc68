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
#include <utility>
#include <vector>

namespace veltrane::threads {
namespace {

using Clock = std::chrono::steady_clock;

TEST(SerialQueueOrder, RunsEveryTaskOfManyProducersOnceInEachProducersOrder)
{
    constexpr int producers = 8;
    constexpr int tasksEach = 1000;
    SerialQueue queue("producers");
    std::vector<std::pair<int, int>> ran;
    std::latch start(producers);
    std::vector<std::thread> threads;
    for (int producer = 0; producer < producers; ++producer) {
        threads.emplace_back([&, producer] {
            start.arrive_and_wait();
            for (int i = 0; i < tasksEach; ++i) {
                queue.async([&ran, producer, i] { ran.emplace_back(producer, i); });
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    queue.sync([] {});

    ASSERT_EQ(ran.size(), std::size_t{producers * tasksEach});
    std::array<int, producers> nextOf{};
    for (const auto& [producer, i] : ran) {
        EXPECT_EQ(i, nextOf[static_cast<std::size_t>(producer)]++) << "producer " << producer;
    }
}

// Sync, isCurrent and the label are the queue contract's; only this queue has a thread of its own.
TEST(SerialQueueThread, RunsOnAThreadNamedAfterTheTruncatedLabelWhereItIsTheCurrentQueue)
{
    SerialQueue queue("veltrane.keyboard.tap");
    EXPECT_EQ(SerialQueue::current(), nullptr);
    std::array<char, 32> name{};
    const SerialQueue* current = nullptr;
    queue.sync([&] {
        pthread_getname_np(pthread_self(), name.data(), name.size());
        current = SerialQueue::current();
    });
    EXPECT_EQ(std::string(name.data()), "veltrane.keyboa");
    EXPECT_EQ(current, &queue);
}

// While the queue's thread waits for its next timer, timers added from elsewhere grow the timer
// heap under it; the wait must not keep pointing into the heap it had (the sanitizer build sees it).
TEST(SerialQueueDelay, TimersAddedWhileTheQueueWaitsForOneAllRun)
{
    SerialQueue queue("timers");
    queue.asyncAfter(30.0, [] {});
    std::atomic<int> ran = 0;
    std::latch done(64);
    for (int i = 64; i > 0; --i) {
        queue.asyncAfter(0.001 * i, [&] {
            ++ran;
            done.count_down();
        });
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    done.wait();
    EXPECT_EQ(ran, 64);
}

// The delays point past the end of the clock: a wait computed by adding them to now would overflow
// and fall due at once.
TEST(SerialQueueDestruction, RunsTheTasksAlreadyQueuedButNeitherRunsNorAwaitsDelaysBeyondTheClock)
{
    int ran = 0;
    std::atomic<int> delayedRan = 0;
    std::latch release(1);
    {
        SerialQueue queue("drain");
        const double pastTheClock =
            std::chrono::duration<double>(Clock::time_point::max() - Clock::now()).count() + 1;
        for (double seconds : {std::numeric_limits<double>::infinity(), 1e300, pastTheClock, 1e9}) {
            queue.asyncAfter(seconds, [&] { ++delayedRan; });
        }
        queue.sync([] {});
        queue.async([&] { release.wait(); });
        for (int i = 0; i < 100; ++i) {
            queue.async([&] { ++ran; });
        }
        release.count_down();
    }
    EXPECT_EQ(ran, 100);
    EXPECT_EQ(delayedRan, 0);
}

// Were a dying queue to accept tasks, this one would keep it, and the test, running forever.
TEST(SerialQueueDestruction, EndsWhileATaskKeepsQueueingItself)
{
    std::atomic<int> runs = 0;
    std::function<void()> again;
    {
        SerialQueue queue("requeue");
        again = [&] {
            ++runs;
            queue.async(again);
        };
        queue.sync(again);
    }
    EXPECT_GE(runs, 1);
}

TEST(SerialQueueDestruction, FromItsOwnTaskFinishesTheQueuedTasksWithoutTheQueue)
{
    auto queue = std::make_unique<SerialQueue>("self");
    std::latch release(1);
    std::latch finished(1);
    const SerialQueue* currentAfterDestruction = &*queue;
    int ranAfter = 0;
    queue->async([&] { release.wait(); });
    queue->async([&] {
        queue.reset();
        currentAfterDestruction = SerialQueue::current();
    });
    queue->async([&] { ++ranAfter; });
    queue->async([&] { finished.count_down(); });
    release.count_down();
    finished.wait();
    EXPECT_EQ(currentAfterDestruction, nullptr);
    EXPECT_EQ(ranAfter, 1);
}

}  // namespace
}  // namespace veltrane::threads
