#pragma once

#include "platform/Dispatch.h"

#include <string>
#include <vector>

namespace veltrane::threads {

// The queues of a program that runs for real: the main queue the program runs on its main thread
// (a plain main loop, or a graphical toolkit's), and serial queues on threads of their own, but
// for those with a label the program wants on the main queue.
class ThreadDispatch final : public platform::Dispatch {
public:
    explicit ThreadDispatch(platform::Queue& mainQueue, std::vector<std::string> labelsOnMainQueue = {})
        : mainQueue_(mainQueue), labelsOnMainQueue_(std::move(labelsOnMainQueue))
    {
    }

    platform::Queue& mainQueue() override { return mainQueue_; }
    std::shared_ptr<platform::Queue> makeSerialQueue(const std::string& label) override;

private:
    platform::Queue& mainQueue_;
    const std::vector<std::string> labelsOnMainQueue_;
};

}  // namespace veltrane::threads
