#include "platform/linux/reactor/ReactorLoop.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>

#include <chrono>
#include <cstdint>

namespace veltrane::linuxbackend {

ReactorLoop::ReactorLoop(Reactor& reactor, std::string label)
    : DrainedQueue(std::move(label)), reactor_(reactor),
      wakeFd_(FileDescriptor::opened(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC),
                                     "cannot make the main queue's event"))
{
    woken_ = reactor_.watch("the main queue", wakeFd_.get(), EPOLLIN, [this](std::uint32_t) { drain(); });
    due_ = reactor_.after("the main queue's delayed tasks", {}, [this] { wake(); });
    due_.setDelay(std::nullopt);
    tasks_.onAdded([this] { wake(); });
}

void ReactorLoop::run()
{
    runner_.store(std::this_thread::get_id());
    // Tasks queued before the loop ran.
    wake();
    reactor_.run();
}

void ReactorLoop::quit()
{
    quitting_ = true;
    wake();
}

bool ReactorLoop::isCurrent() const
{
    return runner_.load() == std::this_thread::get_id();
}

void ReactorLoop::wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wakeFd_.get(), &one, sizeof one);
}

void ReactorLoop::drain()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(wakeFd_.get(), &count, sizeof count);
    while (!quitting_) {
        const auto task = tasks_.takeReady();
        if (!task) {
            break;
        }
        DrainedQueue::run(*task);
    }
    if (quitting_.exchange(false)) {
        reactor_.stop();
        return;
    }
    const auto due = tasks_.nextDue();
    due_.setDelay(due ? std::optional(std::chrono::ceil<std::chrono::microseconds>(
                            *due - std::chrono::steady_clock::now()))
                      : std::nullopt);
}

}  // namespace veltrane::linuxbackend
