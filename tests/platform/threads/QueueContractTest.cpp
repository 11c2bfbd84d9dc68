#include "QueueContract.h"
#include "RealTimeHarness.h"
#include "platform/threads/MainLoop.h"
#include "platform/threads/MainTargetedQueue.h"
#include "platform/threads/SerialQueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace veltrane::threads {

struct SerialQueueHarness : contracts::RealTimeHarness {
    std::shared_ptr<platform::Queue> makeQueue(const std::string& label)
    {
        auto queue = std::make_shared<SerialQueue>(label);
        queues_.push_back(queue);
        return queue;
    }
};

// Each main loop runs on a thread of the harness until the test ends.
struct MainLoopHarness : contracts::LoopThreadsHarness<MainLoop> {
    std::shared_ptr<platform::Queue> makeQueue(const std::string& label)
    {
        auto loop = runOnThread(std::make_shared<MainLoop>(label));
        queues_.push_back(loop);
        return loop;
    }
};

// Each queue on a main loop of its own, which only it gives tasks to.
struct MainTargetedHarness : contracts::LoopThreadsHarness<MainLoop> {
    std::shared_ptr<platform::Queue> makeQueue(const std::string& label)
    {
        auto queue =
            std::make_shared<MainTargetedQueue>(label, *runOnThread(std::make_shared<MainLoop>("main")));
        queues_.push_back(queue);
        return queue;
    }
};

namespace {

// What the main loop does beyond the contract: it runs on the thread that calls run.
TEST(MainLoopTest, RunsOnTheCallingThreadUntilQuitAndKeepsTheRestForTheNextRun)
{
    MainLoop loop;
    std::vector<int> ran;
    loop.async([&] {
        EXPECT_TRUE(loop.isCurrent());
        ran.push_back(1);
        loop.quit();
    });
    loop.async([&] { ran.push_back(2); });
    loop.run();
    EXPECT_EQ(ran, std::vector<int>{1});
    EXPECT_FALSE(loop.isCurrent());

    loop.async([&] { loop.quit(); });
    loop.run();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace veltrane::threads

namespace veltrane::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(SerialQueue, QueueContract, threads::SerialQueueHarness);
INSTANTIATE_TYPED_TEST_SUITE_P(MainLoop, QueueContract, threads::MainLoopHarness);
INSTANTIATE_TYPED_TEST_SUITE_P(MainTargetedQueue, QueueContract, threads::MainTargetedHarness);
}  // namespace veltrane::contracts
