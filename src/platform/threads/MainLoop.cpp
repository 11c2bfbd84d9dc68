#include "platform/threads/MainLoop.h"

namespace veltrane::threads {

void MainLoop::run()
{
    runner_.store(std::this_thread::get_id());
    while (auto task = tasks_.next()) {
        try {
            (*task)();
        } catch (...) {
            // Dropped, as a serial queue drops it: the loop must outlive a faulty task.
        }
    }
    runner_.store(std::thread::id());
}

void MainLoop::quit()
{
    tasks_.interrupt();
}

void MainLoop::async(Task task)
{
    tasks_.add(std::move(task));
}

void MainLoop::asyncAfter(double seconds, Task task)
{
    tasks_.addAfter(seconds, std::move(task));
}

void MainLoop::sync(const Task& task)
{
    if (isCurrent()) {
        task();
    } else {
        tasks_.addAndWait(task);
    }
}

bool MainLoop::isCurrent() const
{
    return runner_.load() == std::this_thread::get_id();
}

}  // namespace veltrane::threads
