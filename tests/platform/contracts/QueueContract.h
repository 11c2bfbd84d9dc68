#pragma once

#include "platform/Queue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrane::contracts {

// What every serial queue must do, written once against the port. A backend runs it with
// INSTANTIATE_TYPED_TEST_SUITE_P(Name, QueueContract, Harness), where Harness is default
// constructible and has
//   std::shared_ptr<platform::Queue> makeQueue(const std::string& label);
//   void pass(double seconds);  // that much of the queues' time goes by; returns once what fell
//                               // due meanwhile, and what that queued at once, has run
//   double now();               // the queues' clock, in seconds
// and, where a fault must end the run rather than be dropped (the simulated desktop's queues),
//   static constexpr bool faultsEscape = true;
template <class Harness> class QueueContract : public ::testing::Test {
protected:
    // Appends to what ran, from whichever thread the task runs on.
    platform::Queue::Task note(std::string what)
    {
        return [this, what] {
            const std::lock_guard lock(mutex);
            noted.push_back(what);
        };
    }
    std::vector<std::string> ranSoFar()
    {
        const std::lock_guard lock(mutex);
        return noted;
    }

    Harness harness;
    std::shared_ptr<platform::Queue> made = harness.makeQueue("contract");
    std::mutex mutex;
    std::vector<std::string> noted;
};

TYPED_TEST_SUITE_P(QueueContract);

TYPED_TEST_P(QueueContract, TasksRunInTheOrderQueuedAndTheirOwnTasksAfterThem)
{
    auto& queue = *this->made;
    queue.async([&] {
        this->note("first")();
        queue.async(this->note("queued by the first"));
    });
    for (int i = 0; i < 100; ++i) {
        queue.async(this->note(std::to_string(i)));
    }
    this->harness.pass(0.0);

    auto order = this->ranSoFar();
    ASSERT_EQ(order.size(), 102u);
    EXPECT_EQ(order.front(), "first");
    // Where the task queued by the first lands among the others depends on when the first ran.
    std::erase(order, "queued by the first");
    ASSERT_EQ(order.size(), 101u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(order[static_cast<std::size_t>(i) + 1], std::to_string(i));
    }
}

// Odd delays run at once in queue order, unreachable ones never.
TYPED_TEST_P(QueueContract, DelayedTasksRunByDueTimeThenInTheOrderQueuedAndNeverEarly)
{
    auto& queue = *this->made;
    const double scheduled = this->harness.now();
    double ranAt = 0.0;
    queue.asyncAfter(0.2, this->note("0.2"));
    queue.asyncAfter(0.1, this->note("0.1 first"));
    queue.asyncAfter(0.1, [&, note = this->note("0.1 second")] {
        ranAt = this->harness.now();
        note();
    });
    queue.async(this->note("now"));
    queue.asyncAfter(std::nan(""), this->note("nan"));
    queue.asyncAfter(-1.0, this->note("negative"));
    queue.asyncAfter(0.0, this->note("zero"));
    queue.asyncAfter(-std::numeric_limits<double>::infinity(), this->note("-inf"));
    queue.asyncAfter(std::numeric_limits<double>::infinity(), this->note("inf"));
    queue.asyncAfter(1e300, this->note("1e300"));
    this->harness.pass(0.3);

    EXPECT_EQ(this->ranSoFar(), (std::vector<std::string>{"now", "nan", "negative", "zero", "-inf",
                                                          "0.1 first", "0.1 second", "0.2"}));
    EXPECT_GE(ranAt - scheduled, 0.1);
}

// sync returns once the task has run on the queue; from the queue itself it runs the task at once.
// A queue is current only for code running on it: in a nested sync, the inner one.
TYPED_TEST_P(QueueContract, SyncRunsTheTaskOnTheQueueAndOnlyTheRunningQueueIsCurrent)
{
    auto& outer = *this->made;
    const auto inner = this->harness.makeQueue("inner");
    std::vector<bool> current;
    EXPECT_FALSE(outer.isCurrent());
    outer.sync([&] {
        current.push_back(outer.isCurrent());
        outer.sync([&] { current.push_back(outer.isCurrent()); });
        inner->sync([&] {
            current.push_back(inner->isCurrent());
            current.push_back(outer.isCurrent());
        });
        current.push_back(outer.isCurrent());
    });

    EXPECT_EQ(current, (std::vector<bool>{true, true, true, false, true}));
    EXPECT_FALSE(outer.isCurrent());
    EXPECT_EQ(outer.label(), "contract");
    EXPECT_EQ(inner->label(), "inner");
}

// An exception escaping an async or delayed task is dropped and the queue goes on; one escaping a
// sync task, nested or not, reaches the caller.
TYPED_TEST_P(QueueContract, OutlivesAFaultyTaskAndHandsASyncFailureToTheCaller)
{
    if constexpr (requires { TypeParam::faultsEscape; }) {
        GTEST_SKIP() << "a fault ends the run on these queues";
    }
    auto& queue = *this->made;
    queue.async([] { throw std::runtime_error("async"); });
    queue.asyncAfter(0.001, [] { throw std::runtime_error("delayed"); });
    EXPECT_THROW(queue.sync([] { throw std::runtime_error("sync"); }), std::runtime_error);
    EXPECT_THROW(queue.sync([&] { queue.sync([] { throw std::logic_error("inline"); }); }), std::logic_error);
    queue.asyncAfter(0.002, this->note("after"));
    this->harness.pass(0.01);
    EXPECT_EQ(this->ranSoFar(), std::vector<std::string>{"after"});
}

REGISTER_TYPED_TEST_SUITE_P(QueueContract, TasksRunInTheOrderQueuedAndTheirOwnTasksAfterThem,
                            DelayedTasksRunByDueTimeThenInTheOrderQueuedAndNeverEarly,
                            SyncRunsTheTaskOnTheQueueAndOnlyTheRunningQueueIsCurrent,
                            OutlivesAFaultyTaskAndHandsASyncFailureToTheCaller);

}  // namespace veltrane::contracts
