#include "QueueContract.h"
#include "RealTimeHarness.h"
#include "platform/threads/MainLoop.h"
#include "platform/threads/MainTargetedQueue.h"
#include "platform/threads/SerialQueue.h"

#include <thread>

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
class MainLoopHarness : public contracts::RealTimeHarness {
public:
    MainLoopHarness() = default;
    MainLoopHarness(const MainLoopHarness&) = delete;
    MainLoopHarness& operator=(const MainLoopHarness&) = delete;
    ~MainLoopHarness()
    {
        for (auto& [loop, thread] : loops_) {
            loop->quit();
            thread.join();
        }
    }

    std::shared_ptr<platform::Queue> makeQueue(const std::string& label)
    {
        auto loop = runLoop(label);
        queues_.push_back(loop);
        return loop;
    }

protected:
    std::shared_ptr<MainLoop> runLoop(const std::string& label)
    {
        auto loop = std::make_shared<MainLoop>(label);
        loops_.emplace_back(loop, std::thread([loop] { loop->run(); }));
        return loop;
    }

private:
    std::vector<std::pair<std::shared_ptr<MainLoop>, std::thread>> loops_;
};

// Each queue on a main loop of its own, which only it gives tasks to.
struct MainTargetedHarness : MainLoopHarness {
    std::shared_ptr<platform::Queue> makeQueue(const std::string& label)
    {
        auto queue = std::make_shared<MainTargetedQueue>(label, *runLoop("main"));
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
