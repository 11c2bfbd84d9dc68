#include "platform/linux/bus/BusDistributedNotificationCenter.h"

#include "Eventually.h"
#include "PrivateBus.h"
#include "platform/threads/MainLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using namespace std::chrono_literals;
using Heard = std::vector<std::string>;

using testsupport::eventually;

bool owned(const BusDistributedNotificationCenter& centre, const std::string& name)
{
    const auto names = centre.namesOnBus();
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Programs on a bus of the test's own, their observers running on a main loop of the test's own.
class BusDistributedNotificationCenterTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(bus_.address().empty()) << "dbus-daemon did not start"; }
    ~BusDistributedNotificationCenterTest() override
    {
        loop_.quit();
        runner_.join();
    }

    // Records who heard which object, and whether on the main loop.
    platform::DistributedNotificationCenter::Handler record(const std::string& who)
    {
        return [this, who](const std::optional<std::string>& object) {
            const std::lock_guard lock(mutex_);
            heard_.push_back(who + " " + object.value_or("(none)") +
                             (loop_.isCurrent() ? "" : " (elsewhere)"));
        };
    }

    Heard heardOnce(std::size_t count)
    {
        EXPECT_TRUE(eventually([&] { return heard().size() >= count; }));
        // Anything more would have followed at once.
        std::this_thread::sleep_for(50ms);
        auto all = heard();
        std::sort(all.begin(), all.end());
        return all;
    }

    Heard heard()
    {
        const std::lock_guard lock(mutex_);
        return heard_;
    }

    PrivateBus bus_;
    threads::MainLoop loop_;
    std::thread runner_{[this] { loop_.run(); }};
    std::mutex mutex_;
    Heard heard_;
};

TEST_F(BusDistributedNotificationCenterTest, NotificationsReachEveryProgramThatObservesThemThePosterToo)
{
    BusDistributedNotificationCenter program(loop_, bus_.address());
    BusDistributedNotificationCenter helper(loop_, bus_.address());
    ASSERT_EQ(program.problem(), "");
    helper.observe("com.example.App.pong", std::nullopt, record("helper:"));
    program.observe("com.example.App.pong", "com.example.App", record("program:"));

    program.post("com.example.App.pong", "com.example.App");
    program.post("com.example.App.pong", "com.example.Else");
    program.post("com.example.App.pong", std::nullopt);

    EXPECT_EQ(heardOnce(4), (Heard{"helper: (none)", "helper: com.example.App", "helper: com.example.Else",
                                   "program: com.example.App"}));
}

TEST_F(BusDistributedNotificationCenterTest, APresenceShowsOnTheBusWhileItsCentreLives)
{
    BusDistributedNotificationCenter program(loop_, bus_.address());
    auto helper =
        std::make_unique<BusDistributedNotificationCenter>(loop_, bus_.address(), "com.example.Helper");
    EXPECT_TRUE(owned(program, "com.example.Helper"));
    EXPECT_FALSE(owned(program, "org.freedesktop.DBus"));

    // A second one, as a helper started while the last one is going, has the name once it is gone.
    auto next =
        std::make_unique<BusDistributedNotificationCenter>(loop_, bus_.address(), "com.example.Helper");
    EXPECT_EQ(next->problem(), "");
    helper.reset();
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(owned(program, "com.example.Helper"));

    next.reset();
    EXPECT_TRUE(eventually([&] { return !owned(program, "com.example.Helper"); }));
}

TEST_F(BusDistributedNotificationCenterTest, WithoutABusNotificationsStayInTheProgram)
{
    BusDistributedNotificationCenter program(loop_, "unix:path=/nonexistent/bus");
    EXPECT_NE(program.problem().find("no session bus"), std::string::npos) << program.problem();
    program.observe("com.example.App.pong", std::nullopt, record("program:"));
    program.post("com.example.App.pong", "com.example.App");
    EXPECT_EQ(heardOnce(1), Heard{"program: com.example.App"});
    EXPECT_TRUE(program.namesOnBus().empty());
}

TEST_F(BusDistributedNotificationCenterTest, ANameNoSignalCanCarryIsRefusedSayingSo)
{
    BusDistributedNotificationCenter program(loop_, bus_.address());
    for (const char* name : {"pong", "com.example.App.not a member", "com.example.App."}) {
        EXPECT_THROW(program.post(name, std::nullopt), std::invalid_argument) << name;
    }
}

}  // namespace
}  // namespace veltrane::linuxbackend
