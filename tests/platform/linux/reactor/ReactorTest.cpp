#include "QueueContract.h"
#include "RealTimeHarness.h"
#include "platform/linux/reactor/ReactorLoop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/epoll.h>
#include <sys/eventfd.h>

#include <chrono>
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

// Two descriptors readable at once and handlers that cannot read them: the first called finds the
// other pending, both ready when the loop woke; each source goes quiet after its first call, with
// one line, and the loop goes on with its other sources.
TEST(ReactorTest, SourcesReadyTogetherArePendingTogetherAndOneWhoseHandlerFailsIsDroppedAndLoggedOnce)
{
    std::vector<std::string> lines;
    Reactor reactor([&](const std::string& line) { lines.push_back(line); });
    ReactorLoop loop(reactor);
    const auto madeReady = std::chrono::steady_clock::now().time_since_epoch();
    std::vector<FileDescriptor> readable;
    Reactor::Source sources[2];
    std::vector<bool> otherPending;
    for (const int at : {0, 1}) {
        const int fd = readable.emplace_back(::eventfd(1, EFD_CLOEXEC)).get();
        sources[at] = reactor.watch("event " + std::to_string(at), fd, EPOLLIN, [&, at](std::uint32_t) {
            otherPending.push_back(sources[1 - at].pending());
            EXPECT_GE(std::chrono::microseconds(reactor.wokenAt()),
                      std::chrono::floor<std::chrono::microseconds>(madeReady));
            throw std::runtime_error("unreadable");
        });
    }
    loop.asyncAfter(0.05, [&] { loop.quit(); });
    loop.run();
    EXPECT_EQ(otherPending, (std::vector<bool>{true, false}));
    EXPECT_THAT(lines, testing::UnorderedElementsAre("Stopped watching event 0: unreadable",
                                                     "Stopped watching event 1: unreadable"));
}

}  // namespace
}  // namespace veltrane::linuxbackend

namespace veltrane::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(ReactorLoop, QueueContract, linuxbackend::ReactorLoopHarness);
}  // namespace veltrane::contracts
