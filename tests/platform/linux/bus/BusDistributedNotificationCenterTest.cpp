#include "platform/linux/bus/BusDistributedNotificationCenter.h"

#include "PrivateBus.h"
#include "TestReactor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using namespace std::chrono_literals;
using Heard = std::vector<std::string>;

bool owned(const BusDistributedNotificationCenter& centre, const std::string& name)
{
    const auto names = centre.namesOnBus();
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Programs on a bus of the test's own, served by a reactor on the test's thread.
class BusDistributedNotificationCenterTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(bus_.address().empty()) << "dbus-daemon did not start"; }

    // Records who heard which object, and whether on the main queue.
    platform::DistributedNotificationCenter::Handler record(const std::string& who)
    {
        return [this, who](const std::optional<std::string>& object) {
            heard_.push_back(who + " " + object.value_or("(none)") +
                             (reactor_.loop.isCurrent() ? "" : " (elsewhere)"));
        };
    }

    Heard heardOnce(std::size_t count)
    {
        EXPECT_TRUE(reactor_.runUntil([&] { return heard_.size() >= count; }));
        // Anything more would have followed at once.
        reactor_.runUntil([] { return false; }, 50ms);
        auto all = heard_;
        std::sort(all.begin(), all.end());
        return all;
    }

    std::unique_ptr<BusDistributedNotificationCenter> centre(const std::string& presence = {},
                                                             const std::string& address = {})
    {
        return std::make_unique<BusDistributedNotificationCenter>(
            reactor_.reactor, reactor_.loop, address.empty() ? bus_.address() : address, presence);
    }

    PrivateBus bus_;
    testsupport::TestReactor reactor_;
    Heard heard_;
};

// A name no signal can carry is refused, saying so.
TEST_F(BusDistributedNotificationCenterTest, NotificationsReachEveryProgramThatObservesThemThePosterToo)
{
    const auto program = centre();
    const auto helper = centre();
    ASSERT_EQ(program->problem(), "");
    helper->observe("com.example.App.pong", std::nullopt, record("helper:"));
    program->observe("com.example.App.pong", "com.example.App", record("program:"));

    program->post("com.example.App.pong", "com.example.App");
    program->post("com.example.App.pong", "com.example.Else");
    program->post("com.example.App.pong", std::nullopt);

    EXPECT_EQ(heardOnce(4), (Heard{"helper: (none)", "helper: com.example.App", "helper: com.example.Else",
                                   "program: com.example.App"}));
    for (const char* name : {"pong", "com.example.App.not a member", "com.example.App."}) {
        EXPECT_THROW(program->post(name, std::nullopt), std::invalid_argument) << name;
    }
}

TEST_F(BusDistributedNotificationCenterTest, APresenceShowsOnTheBusWhileItsCentreLives)
{
    const auto program = centre();
    auto helper = centre("com.example.Helper");
    EXPECT_TRUE(owned(*program, "com.example.Helper"));
    EXPECT_FALSE(owned(*program, "org.freedesktop.DBus"));

    // A second one, as a helper started while the last one is going, has the name once it is gone.
    auto next = centre("com.example.Helper");
    EXPECT_EQ(next->problem(), "");
    helper.reset();
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(owned(*program, "com.example.Helper"));

    next.reset();
    EXPECT_TRUE(reactor_.runUntil([&] { return !owned(*program, "com.example.Helper"); }));
}

TEST_F(BusDistributedNotificationCenterTest, WithoutABusNotificationsStayInTheProgram)
{
    const auto program = centre({}, "unix:path=/nonexistent/bus");
    EXPECT_NE(program->problem().find("no session bus"), std::string::npos) << program->problem();
    program->observe("com.example.App.pong", std::nullopt, record("program:"));
    program->post("com.example.App.pong", "com.example.App");
    EXPECT_EQ(heardOnce(1), Heard{"program: com.example.App"});
    EXPECT_TRUE(program->namesOnBus().empty());
}

}  // namespace
}  // namespace veltrane::linuxbackend
