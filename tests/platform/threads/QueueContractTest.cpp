#include "QueueContract.h"
#include "RealTimeHarness.h"
#include "platform/threads/MainLoop.h"
#include "platform/threads/MainTargetedQueue.h"
#include "platform/threads/SerialQueue.h"

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

}  // namespace veltrane::threads

namespace veltrane::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(SerialQueue, QueueContract, threads::SerialQueueHarness);
INSTANTIATE_TYPED_TEST_SUITE_P(MainLoop, QueueContract, threads::MainLoopHarness);
INSTANTIATE_TYPED_TEST_SUITE_P(MainTargetedQueue, QueueContract, threads::MainTargetedHarness);
}  // namespace veltrane::contracts
