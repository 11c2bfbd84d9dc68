#pragma once

#include "platform/Queue.h"
#include "platform/threads/SystemClock.h"

#include <chrono>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace veltrane::contracts {

// Real time: passing time is sleeping, and what fell due has run once each queue has finished a
// task queued after it twice (a timer found due joins the queue behind the first one).
class RealTimeHarness {
public:
    void pass(double seconds)
    {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        for (const auto& made : queues_) {
            if (const auto queue = made.lock()) {
                queue->sync([] {});
                queue->sync([] {});
            }
        }
    }
    double now() const { return threads::SystemClock().now(); }

protected:
    std::vector<std::weak_ptr<platform::Queue>> queues_;
};

// Loops (with run and quit) that each run on a thread of the harness until the test ends.
template <class Loop> class LoopThreadsHarness : public RealTimeHarness {
public:
    LoopThreadsHarness() = default;
    LoopThreadsHarness(const LoopThreadsHarness&) = delete;
    LoopThreadsHarness& operator=(const LoopThreadsHarness&) = delete;
    ~LoopThreadsHarness()
    {
        for (auto& [loop, thread] : loops_) {
            loop->quit();
            thread.join();
        }
    }

protected:
    std::shared_ptr<Loop> runOnThread(std::shared_ptr<Loop> loop)
    {
        loops_.emplace_back(loop, std::thread([loop] { loop->run(); }));
        return loop;
    }

private:
    std::vector<std::pair<std::shared_ptr<Loop>, std::thread>> loops_;
};

}  // namespace veltrane::contracts
