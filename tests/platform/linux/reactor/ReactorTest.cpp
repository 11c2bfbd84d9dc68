#include "QueueContract.h"
#include "RealTimeHarness.h"
#include "platform/linux/reactor/ReactorLoop.h"

#include <gtest/gtest.h>

#include <sys/epoll.h>
#include <sys/eventfd.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// Each queue on a reactor of its own, run on a thread of the harness until the test ends.
class ReactorLoopHarness : public contracts::LoopThreadsHarness<ReactorLoop> {
public:
    std::shared_ptr<platform::Queue> makeQueue(const std::string& label)
    {
        const auto owned = std::make_shared<OwnReactor>(label);
        auto loop = runOnThread(std::shared_ptr<ReactorLoop>(owned, &owned->loop));
        queues_.push_back(loop);
        return loop;
    }

private:
    struct OwnReactor {
        explicit OwnReactor(const std::string& label) : loop(reactor, label) {}
        Reactor reactor{[](const std::string&) {}};
        ReactorLoop loop;
    };
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
