#pragma once

#include "platform/Dispatch.h"
#include "platform/threads/MainLoop.h"

namespace veltrane::threads {

// The queues of a program that runs for real: a main loop, which the program runs on its main
// thread, and serial queues on threads of their own.
class ThreadDispatch final : public platform::Dispatch {
public:
    MainLoop& mainQueue() override { return mainLoop_; }
    std::shared_ptr<platform::Queue> makeSerialQueue(const std::string& label) override;

private:
    MainLoop mainLoop_;
};

}  // namespace veltrane::threads
