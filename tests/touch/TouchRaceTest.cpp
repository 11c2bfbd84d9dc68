#include "SimTest.h"

#include "touch/MTTrackpadRegistrar.h"

#include <atomic>
#include <thread>

namespace veltrane {
namespace {

// A framework whose devices answer from their own fields, and a log that counts: both safe from
// any thread, so that what the test races is the registrar, its tracker and the device model.
class FixedDevice final : public platform::MTDevice {
public:
    explicit FixedDevice(std::uint64_t deviceId) : id(deviceId) {}
    const std::uint64_t id;
};

class ThreadSafeMultitouch final : public platform::Multitouch {
public:
    std::optional<std::vector<platform::MTDeviceRef>> MTDeviceCreateList() override { return std::nullopt; }
    std::int32_t MTDeviceGetDeviceID(platform::MTDevice* device, std::uint64_t& deviceId) override
    {
        deviceId = static_cast<FixedDevice*>(device)->id;
        return 0;
    }
    std::int32_t MTDeviceGetFamilyID(platform::MTDevice*, std::int32_t&) override { return 0; }
    bool MTDeviceIsBuiltIn(platform::MTDevice*) override { return false; }
    bool MTDeviceSupportsForce(platform::MTDevice*) override { return false; }
    platform::MTDeviceRef MTDeviceCreateFromDeviceID(std::uint64_t deviceId) override
    {
        return std::make_shared<FixedDevice>(deviceId);
    }
    void MTRegisterContactFrameCallbackWithRefcon(platform::MTDevice*, platform::MTContactFrameCallback,
                                                  void*) override
    {
    }
    std::int32_t MTDeviceStart(platform::MTDevice*, std::int32_t) override { return 0; }
    std::int32_t MTDeviceGetSensorSurfaceDimensions(platform::MTDevice*, std::int32_t& width,
                                                    std::int32_t& height) override
    {
        width = 16000;
        height = 11000;
        return 0;
    }
};

class CountingLog final : public platform::SystemLog {
public:
    void write(platform::SystemLogLevel, std::string_view) override { ++lines; }
    std::atomic<int> lines{0};
};

class CountingBindings final : public platform::Bindings {
public:
    void didChangeValue(std::string_view, std::string_view, bool) override { ++changes; }
    std::atomic<int> changes{0};
};

class TouchRaceTest : public testing::SimTest {
protected:
    ThreadSafeMultitouch multitouch;
    CountingLog log;
    CountingBindings bindings;
    const platform::Platform& base = platform();
    const platform::Platform racing{base.clock,
                                    base.dispatch,
                                    base.notificationCenter,
                                    base.distributedNotificationCenter,
                                    base.userDefaults,
                                    base.hidManagers,
                                    base.hidEventSystem,
                                    base.hidSystem,
                                    base.eventTaps,
                                    base.eventPoster,
                                    base.eventMonitors,
                                    multitouch,
                                    base.workspace,
                                    log,
                                    base.system,
                                    base.alerts,
                                    base.statusBar,
                                    base.menuItems,
                                    base.windows,
                                    base.bundle,
                                    bindings};
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
        FixedDevice device(0x0400000000000000ull | location);
        platform::MTTouch contact{};
        contact.zTotal = 1.0f;
        contact.normalizedVector.position = {0.5f, 0.5f};
        for (int i = 0; i < kRounds; ++i) {
            contact.pathIndex = static_cast<std::int32_t>(location >> 12);
            contact.stage = i % 3 == 2 ? 5 : 4;
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
