#include "QueueContract.h"
#include "RealTimeHarness.h"
#include "platform/linux/reactor/ReactorLoop.h"

#include <gtest/gtest.h>

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::linuxbackend {

// Each queue on a reactor of its own, run on a thread of the harness until the test ends.
class ReactorLoopHarness : public contracts::RealTimeHarness {
public:
    ReactorLoopHarness() = default;
    ReactorLoopHarness(const ReactorLoopHarness&) = delete;
    ReactorLoopHarness& operator=(const ReactorLoopHarness&) = delete;
    ~ReactorLoopHarness()
    {
        for (auto& loop : loops_) {
            loop->queue->quit();
            loop->thread.join();
        }
    }

    std::shared_ptr<platform::Queue> makeQueue(const std::string& label)
    {
        auto& loop = loops_.emplace_back(std::make_unique<Loop>(label));
        loop->thread = std::thread([queue = loop->queue] { queue->run(); });
        queues_.push_back(loop->queue);
        return loop->queue;
    }

private:
    struct Loop {
        explicit Loop(const std::string& label) : queue(std::make_shared<ReactorLoop>(reactor, label)) {}
        Reactor reactor{[](const std::string&) {}};
        std::shared_ptr<ReactorLoop> queue;
        std::thread thread;
    };
    std::vector<std::unique_ptr<Loop>> loops_;
};

namespace {

// A descriptor that stays readable and a handler that cannot read it: the source goes quiet after
// the first call, with one line, and the loop goes on with its other sources.
TEST(ReactorTest, ASourceWhoseHandlerFailsIsDroppedAndLoggedOnce)
{
    std::vector<std::string> lines;
    Reactor reactor([&](const std::string& line) { lines.push_back(line); });
    ReactorLoop loop(reactor);
    const FileDescriptor readable(::eventfd(1, EFD_CLOEXEC));
    int calls = 0;
    const auto source = reactor.watch("the test's event", readable.get(), EPOLLIN, [&](std::uint32_t) {
        ++calls;
        throw std::runtime_error("unreadable");
    });
    loop.asyncAfter(0.05, [&] { loop.quit(); });
    loop.run();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(lines, std::vector<std::string>{"Stopped watching the test's event: unreadable"});
}

}  // namespace
}  // namespace veltrane::linuxbackend

namespace veltrane::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(ReactorLoop, QueueContract, linuxbackend::ReactorLoopHarness);
}  // namespace veltrane::contracts
