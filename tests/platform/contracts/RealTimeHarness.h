#pragma once

#include "platform/Queue.h"
#include "platform/threads/SystemClock.h"

#include <chrono>
#include <memory>
#include <thread>
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

}  // namespace veltrane::contracts
