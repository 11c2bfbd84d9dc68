#include "Contact.h"
#include "FixedMultitouch.h"
#include "NoBindings.h"
#include "SimTest.h"

#include "touch/MTTrackpadRegistrar.h"

#include <atomic>
#include <thread>

namespace veltrane {
namespace {

// A log that counts, safe from any thread: with the fixed framework, what the test races is the
// registrar, its tracker and the device model.
class CountingLog final : public platform::SystemLog {
public:
    void write(platform::SystemLogLevel, std::string_view) override { ++lines; }
    std::atomic<int> lines{0};
};

class TouchRaceTest : public testing::SimTest {
protected:
    testing::FixedMultitouch multitouch;
    CountingLog log;
    testing::NoBindings bindings;
    const platform::Platform& base = platform();
    const platform::Platform racing{base.clock, base.dispatch, base.notificationCenter,
                                    base.distributedNotificationCenter, base.userDefaults, base.hidManagers,
                                    base.hidEventSystem, base.hidSystem, base.eventTaps, base.eventPoster,
                                    base.eventMonitors,
                                    // The fixed framework and the counting log stand in for the desktop's.
                                    multitouch, base.workspace, log, base.system, base.alerts, base.statusBar,
                                    base.menuItems, base.windows, base.bundle, bindings};
};

// Frames of two trackpads arrive on two framework threads while a third thread connects and
// removes them in the model and registers and unregisters them, as the HID thread and the device
// queue do.
TEST_F(TouchRaceTest, FramesArriveWhileDevicesComeAndGo)
{
    constexpr int kRounds = 3000;
    constexpr std::uint64_t kLocations[] = {0x3000, 0x4000};
    Defaults defaults(platform().userDefaults);
    DevicesModel model(bindings, false);
    std::atomic<int> events{0};
    MTTrackpadRegistrar registrar(racing, defaults, model,
                                  {[&](const TouchEvent&) { ++events; }, [] { return false; }, nullptr});

    auto frames = [&](std::uint64_t location) {
        testing::FixedDevice device(0x0400000000000000ull | location);
        for (int i = 0; i < kRounds; ++i) {
            const auto contact = testing::record(
                {.path = static_cast<std::int32_t>(location >> 12), .stage = i % 3 == 2 ? 5 : 4});
            MTTrackpadRegistrar::handleContactFrame(&device, &contact, 1, i * 0.01, i, &registrar);
        }
    };
    std::thread first(frames, kLocations[0]);
    std::thread second(frames, kLocations[1]);
    std::thread devices([&] {
        for (int i = 0; i < kRounds; ++i) {
            const std::uint64_t location = kLocations[i % 2];
            const std::uint64_t deviceId = 0x0400000000000000ull | location;
            model.addDeviceAtLocation(location, DeviceType::magicTrackpad2);
            if (!registrar.isRegistered(deviceId)) {
                registrar.registerDevice(multitouch.MTDeviceCreateFromDeviceID(deviceId), deviceId);
            }
            if (model.removeDevice(location)) {
                registrar.unregisterDevice(deviceId);
            }
        }
    });
    first.join();
    second.join();
    devices.join();

    EXPECT_GT(events.load(), 0);
    EXPECT_EQ(log.lines.load(), 2 * kRounds);
}

}  // namespace
}  // namespace veltrane
