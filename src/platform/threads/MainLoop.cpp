#include "platform/threads/MainLoop.h"

namespace veltrane::threads {

void MainLoop::run()
{
    runner_.store(std::this_thread::get_id());
    while (auto task = tasks_.next()) {
        DrainedQueue::run(*task);
    }
    runner_.store(std::thread::id());
}

void MainLoop::quit()
{
    tasks_.interrupt();
}

bool MainLoop::isCurrent() const
{
    return runner_.load() == std::this_thread::get_id();
}

}  // namespace veltrane::threads
