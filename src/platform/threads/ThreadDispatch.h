#pragma once

#include "platform/Dispatch.h"
#include "platform/threads/MainLoop.h"

#include <string>
#include <vector>

namespace veltrane::threads {

// The queues of a program that runs for real: a main loop, which the program runs on its main
// thread, and serial queues on threads of their own, but for those with a label the program
// wants on the main loop.
class ThreadDispatch final : public platform::Dispatch {
public:
    explicit ThreadDispatch(std::vector<std::string> labelsOnMainLoop = {})
        : labelsOnMainLoop_(std::move(labelsOnMainLoop))
    {
    }

    MainLoop& mainQueue() override { return mainLoop_; }
    std::shared_ptr<platform::Queue> makeSerialQueue(const std::string& label) override;

private:
    MainLoop mainLoop_;
    const std::vector<std::string> labelsOnMainLoop_;
};

}  // namespace veltrane::threads
