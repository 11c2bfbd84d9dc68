#include "platform/sim/Scheduler.h"
#include "platform/sim/SimQueue.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace veltrane::sim {
namespace {

class SchedulerTest : public ::testing::Test {
protected:
    std::shared_ptr<SimQueue> queue(const std::string& label)
    {
        return std::make_shared<SimQueue>(scheduler, label, nullptr);
    }
    // Appends what ran, with the virtual time in milliseconds and the queue it ran on.
    SimQueue::Task note(const std::shared_ptr<SimQueue>& on, const std::string& what)
    {
        return [this, on, what] {
            log +=
                what + "@" + std::to_string(scheduler.now() / 1'000'000) + (on->isCurrent() ? "" : "!") + " ";
        };
    }

    Scheduler scheduler;
    std::string log;
};

// What one queue does with its tasks is the queue contract's; here the queues share one clock. Time
// moving by a millisecond is in the keyboard-later scenario. The tasks of a queue that is gone are
// dropped.
TEST_F(SchedulerTest, RunsTasksOfAllQueuesThereInDueOrderThenInTheOrderQueuedAndWhenIdleOnlyWhatIsDue)
{
    auto main = queue("main");
    auto hid = queue("hidQueue");
    auto gone = queue("gone");
    gone->asyncAfter(0.5, [this] { log += "dropped "; });
    gone.reset();
    main->asyncAfter(0.4, note(main, "refresh"));
    hid->async(note(hid, "value"));
    main->asyncAfter(0.1, note(main, "early"));
    main->async([&] { main->async(note(main, "chained")); });
    hid->asyncAfter(0.4, note(hid, "sameTime"));

    scheduler.runUntilIdle();
    EXPECT_EQ(log, "value@0 chained@0 ");
    scheduler.advance(1.0);
    EXPECT_EQ(log, "value@0 chained@0 early@100 refresh@400 sameTime@400 ");
    EXPECT_EQ(scheduler.now(), 1'000'000'000);
}

// Queues that wait for each other would deadlock on real threads as soon as both waits overlap:
// the wait that closes the cycle fails, whether the cycle is nested or built over time.
TEST_F(SchedulerTest, AWaitThatClosesACycleOfWaitsFails)
{
    auto main = queue("main");
    auto hid = queue("hidQueue");
    auto device = queue("device");
    auto failure = [&](const std::shared_ptr<SimQueue>& on, const SimQueue::Task& task) {
        std::string what;
        on->async([&] {
            try {
                task();
            } catch (const std::logic_error& error) {
                what = error.what();
            }
        });
        scheduler.runUntilIdle();
        return what;
    };

    EXPECT_EQ(failure(main,
                      [&] {
                          main->sync([] {});
                          hid->sync([] {});
                          hid->sync([] {});
                      }),
              "");
    EXPECT_EQ(failure(hid, [&] { main->sync([] {}); }),
              "wait cycle: hidQueue waits for main, which waits for hidQueue");
    EXPECT_EQ(failure(hid, [&] { device->sync([&] { main->sync([] {}); }); }),
              "wait cycle: device waits for main, which waits for hidQueue, which waits for device");
    EXPECT_EQ(failure(device, [&] { device->sync([] {}); }), "");

    hid.reset();
    EXPECT_EQ(failure(device, [&] { main->sync([] {}); }), "");
}

}  // namespace
}  // namespace veltrane::sim
