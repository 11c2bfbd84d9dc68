#include "platform/linux/logind/LogindMonitor.h"

#include "LogindMock.h"
#include "PrivateBus.h"
#include "TestReactor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace veltrane::linuxbackend {
namespace {

// logind mocked on a bus of the test's own, its news heard on a reactor on the test's thread.
class LogindMonitorTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(bus.address().empty()) << "dbus-daemon did not start"; }

    LogindMonitor::Callbacks callbacks(const LogindMock* logind = nullptr)
    {
        return {.willSleep =
                    [this, logind] {
                        delayHeldDuringWillSleep = logind != nullptr && logind->delayHeld();
                        ++willSleep;
                    },
                .didWake = [this] { ++didWake; },
                .sessionDidBecomeActive = [this] { ++becameActive; },
                .log = {}};
    }

    PrivateBus bus;
    testsupport::TestReactor reactor;
    int willSleep = 0;
    int didWake = 0;
    int becameActive = 0;
    bool delayHeldDuringWillSleep = false;
};

// Sleep waits for willSleep, the delay is taken again after the wake (which the kernel test of the
// life cycle checks as well), and the monitor lets the delay go when it goes.
TEST_F(LogindMonitorTest, SleepWaitsForWillSleepAndStoppingLetsTheDelayGo)
{
    LogindMock logind(bus.address(), reactor.reactor, {});
    auto monitor = std::make_unique<LogindMonitor>(reactor.reactor, callbacks(&logind), bus.address());
    ASSERT_TRUE(monitor->available()) << monitor->problem();
    ASSERT_TRUE(reactor.runUntil([&] { return logind.delayHeld(); }));

    logind.prepareForSleep(true);
    ASSERT_TRUE(reactor.runUntil([&] { return willSleep == 1 && !logind.delayHeld(); }));
    EXPECT_TRUE(delayHeldDuringWillSleep);

    logind.prepareForSleep(false);
    ASSERT_TRUE(
        reactor.runUntil([&] { return didWake == 1 && logind.delaysGranted() == 2 && logind.delayHeld(); }));
    EXPECT_EQ(monitor->problem(), "");

    monitor.reset();
    EXPECT_FALSE(logind.delayHeld());
}

TEST_F(LogindMonitorTest, ARefusedDelayIsReportedAndSleepAndWakeAreStillHeard)
{
    LogindMock logind(bus.address(), reactor.reactor, {.refuseDelays = true});
    const LogindMonitor monitor(reactor.reactor, callbacks(), bus.address());
    EXPECT_TRUE(reactor.runUntil([&] { return monitor.problem() == "sleep not delayed: Access denied"; }))
        << monitor.problem();

    logind.prepareForSleep(true);
    logind.prepareForSleep(false);
    EXPECT_TRUE(reactor.runUntil([&] { return willSleep == 1 && didWake == 1; }));
}

TEST_F(LogindMonitorTest, EachReturnOfTheSessionToActiveIsHeardOnce)
{
    // Not in the session, the program watches the one the desktop handed down.
    ::setenv("XDG_SESSION_ID", LogindMock::sessionId, 1);
    for (const bool processInSession : {true, false}) {
        SCOPED_TRACE(processInSession ? "session of the process" : "session by name");
        becameActive = 0;
        willSleep = 0;
        LogindMock logind(bus.address(), reactor.reactor, {.processInSession = processInSession});
        const LogindMonitor monitor(reactor.reactor, callbacks(), bus.address());
        ASSERT_EQ(monitor.problem(), "");

        logind.setActive(false, true);
        logind.setActive(true, false);
        ASSERT_TRUE(reactor.runUntil([&] { return becameActive == 1; }));

        logind.setActive(true, true);
        logind.setActive(false, true);
        logind.setActive(true, true);
        // Signals arrive in order: once the sleep is heard, every change before it has been.
        logind.prepareForSleep(true);
        ASSERT_TRUE(reactor.runUntil([&] { return willSleep == 1; }));
        EXPECT_EQ(becameActive, 2);
    }
}

TEST_F(LogindMonitorTest, WithoutLogindOrWithoutABusItIsUnavailableAndSaysWhy)
{
    const LogindMonitor withoutLogind(reactor.reactor, callbacks(), bus.address());
    EXPECT_FALSE(withoutLogind.available());
    EXPECT_EQ(withoutLogind.problem().rfind("logind is not running: ", 0), 0u) << withoutLogind.problem();

    const LogindMonitor withoutBus(reactor.reactor, {}, "unix:path=/nonexistent/veltrane-test-bus");
    EXPECT_FALSE(withoutBus.available());
    EXPECT_EQ(withoutBus.problem().rfind("no system bus: ", 0), 0u) << withoutBus.problem();
}

}  // namespace
}  // namespace veltrane::linuxbackend
