#include "platform/linux/logind/LogindMonitor.h"

#include "Eventually.h"
#include "FakeLogind.h"
#include "PrivateBus.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>

namespace veltrane::linuxbackend {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

using testsupport::eventually;

class LogindMonitorTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(bus.address().empty()) << "dbus-daemon did not start"; }

    LogindMonitor::Callbacks callbacks(const FakeLogind* fake = nullptr)
    {
        return {.willSleep =
                    [this, fake] {
                        delayHeldDuringWillSleep = fake != nullptr && fake->latestDelayHeld();
                        ++willSleep;
                    },
                .didWake = [this] { ++didWake; },
                .sessionDidBecomeActive = [this] { ++becameActive; },
                .log = {}};
    }

    PrivateBus bus;
    std::atomic<int> willSleep = 0;
    std::atomic<int> didWake = 0;
    std::atomic<int> becameActive = 0;
    std::atomic<bool> delayHeldDuringWillSleep = false;
};

// Sleep waits for willSleep, the delay is taken again after the wake (which the kernel test of the
// life cycle checks as well), and stopping while idle is prompt and lets the delay go.
TEST_F(LogindMonitorTest, SleepWaitsForWillSleepAndStoppingLetsTheDelayGo)
{
    FakeLogind fake(bus.address(), {});
    auto monitor = std::make_unique<LogindMonitor>(callbacks(&fake), bus.address());
    ASSERT_TRUE(monitor->available()) << monitor->problem();
    ASSERT_TRUE(eventually([&] { return fake.latestDelayHeld(); }));

    fake.prepareForSleep(true);
    ASSERT_TRUE(eventually([&] { return willSleep == 1 && !fake.latestDelayHeld(); }));
    EXPECT_TRUE(delayHeldDuringWillSleep);

    fake.prepareForSleep(false);
    ASSERT_TRUE(
        eventually([&] { return didWake == 1 && fake.delaysGranted() == 2 && fake.latestDelayHeld(); }));
    EXPECT_EQ(monitor->problem(), "");

    const auto stopping = Clock::now();
    monitor.reset();
    EXPECT_LT(Clock::now() - stopping, 1s);
    EXPECT_FALSE(fake.latestDelayHeld());
}

TEST_F(LogindMonitorTest, ARefusedDelayIsReportedAndSleepAndWakeAreStillHeard)
{
    FakeLogind fake(bus.address(), {.refuseDelays = true});
    LogindMonitor monitor(callbacks(), bus.address());
    EXPECT_TRUE(eventually([&] { return monitor.problem() == "sleep not delayed: Access denied"; }))
        << monitor.problem();

    fake.prepareForSleep(true);
    fake.prepareForSleep(false);
    EXPECT_TRUE(eventually([&] { return willSleep == 1 && didWake == 1; }));
}

TEST_F(LogindMonitorTest, EachReturnOfTheSessionToActiveIsHeardOnce)
{
    for (const bool processInSession : {true, false}) {
        SCOPED_TRACE(processInSession ? "session of the process" : "session by name");
        becameActive = 0;
        willSleep = 0;
        FakeLogind fake(bus.address(), {.processInSession = processInSession});
        LogindMonitor monitor(callbacks(), bus.address());
        ASSERT_EQ(monitor.problem(), "");

        fake.setActive(false, true);
        fake.setActive(true, false);
        ASSERT_TRUE(eventually([&] { return becameActive == 1; }));

        fake.setActive(true, true);
        fake.setActive(false, true);
        fake.setActive(true, true);
        // Signals arrive in order: once the sleep is heard, every change before it has been.
        fake.prepareForSleep(true);
        ASSERT_TRUE(eventually([&] { return willSleep == 1; }));
        EXPECT_EQ(becameActive, 2);
    }
}

TEST_F(LogindMonitorTest, WithoutLogindOrWithoutABusItIsUnavailableAndSaysWhy)
{
    const LogindMonitor withoutLogind(callbacks(), bus.address());
    EXPECT_FALSE(withoutLogind.available());
    EXPECT_EQ(withoutLogind.problem().rfind("logind is not running: ", 0), 0u) << withoutLogind.problem();

    const LogindMonitor withoutBus({}, "unix:path=/nonexistent/veltrane-test-bus");
    EXPECT_FALSE(withoutBus.available());
    EXPECT_EQ(withoutBus.problem().rfind("no system bus: ", 0), 0u) << withoutBus.problem();
}

}  // namespace
}  // namespace veltrane::linuxbackend
