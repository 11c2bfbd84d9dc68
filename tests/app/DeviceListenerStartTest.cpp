#include "app/CompositionRoot.h"
#include "core/Notifications.h"
#include "platform/sim/Desktop.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

// The device listener is made once per run: by the start of the listeners when the private
// framework is chosen, or earlier when the preferences ask for it with "startDeviceListener".
class DeviceListenerStartTest : public ::testing::Test {
protected:
    DeviceListenerStartTest()
    {
        desktop.defaults()["usePrivateFramework"] = true;
        desktop.defaults()["touchListenerDelay"] = std::int64_t{3};
        desktop.multitouch().connect({"tp", 0x0400000000003000, 0, false, false, 16000, 11000});
        desktop.setApplicationFactory([](const platform::Platform& platform) {
            return makeApplication(platform, {.loggingSetup = [](bool, logging::Level) {}});
        });
    }
    void post(const std::string& name)
    {
        desktop.process()->mainQueue().async([this, name] {
            desktop.process()->platform().notificationCenter.post(name, {});
        });
    }

    sim::Desktop desktop;
};

TEST_F(DeviceListenerStartTest, TheNotificationMakesTheOneListenerBeforeTheDelayedStart)
{
    desktop.launch();
    desktop.scheduler().runUntilIdle();
    post(Notifications::kStartDeviceListener);
    post(Notifications::kStartDeviceListener);
    desktop.scheduler().advance(5.0);

    EXPECT_EQ(desktop.transcript().text({"syslog", "tap"}),
              "1.000 syslog info com-marrowind-Veltrane Registered trackpad\n"
              "3.000 tap created mask=0x6001c1e\n"
              "3.000 tap enabled\n");
}

TEST_F(DeviceListenerStartTest, WithoutTheNotificationTheListenerStartsWithTheListeners)
{
    desktop.launch();
    desktop.scheduler().advance(5.0);

    EXPECT_EQ(desktop.transcript().text({"syslog"}), "4.000 syslog info com-marrowind-Veltrane Registered trackpad\n");
}

}  // namespace
}  // namespace veltrane
