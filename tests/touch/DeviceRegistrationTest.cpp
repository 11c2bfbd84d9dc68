#include "Contact.h"
#include "FixedMultitouch.h"
#include "SimTest.h"

#include "touch/DeviceListener.h"

#include <climits>

namespace veltrane {
namespace {

class RecordingViewer final : public TouchViewer {
public:
    bool isShowing() const override { return showing; }
    void showTouches(const TouchEvent& event) override { shown.push_back(event.deviceId); }

    bool showing = false;
    std::vector<std::int64_t> shown;
};

// The properties that identify a pointing device.
sim::SimHidDevice::Properties ids(std::int64_t vendor, std::int64_t product, std::uint64_t location)
{
    return {{"VendorID", vendor}, {"ProductID", product}, {"LocationID", location}};
}

class DeviceRegistrationTest : public testing::SimTest {
protected:
    DeviceRegistrationTest() { platform().userDefaults.setBool("usePrivateFramework", true); }

    void trackpad(const std::string& name, std::int64_t vendor, std::int64_t product, std::uint64_t location,
                  std::uint64_t deviceId, bool builtIn = false, bool force = false)
    {
        desktop_.multitouch().connect({name, deviceId, 0, builtIn, force, 16000, 11000});
        pointingDevice(name, ids(vendor, product, location));
    }
    void pointingDevice(const std::string& name, sim::SimHidDevice::Properties properties,
                        sim::SimHidDevice::Properties service = {})
    {
        desktop_.hid().connectPointingDevice(name, std::move(properties), std::move(service));
        settle();
    }
    void unplug(const std::string& name)
    {
        desktop_.multitouch().unplug(name);
        desktop_.hid().unplug(name);
        settle();
    }
    void startListener()
    {
        onMain([&] {
            listener = std::make_unique<DeviceListener>(
                platform(), defaults,
                MTTrackpadRegistrar::Consumers{[this](const TouchEvent& event) { events.push_back(event); },
                                               [] { return false; }, &viewer});
        });
    }
    void touch(const std::string& name)
    {
        desktop_.multitouch().frame(*desktop_.multitouch().find(name), {testing::record({.stage = 3})}, 0.0);
        settle();
    }

    Defaults defaults{platform().userDefaults};
    RecordingViewer viewer;
    std::vector<TouchEvent> events;
    std::unique_ptr<DeviceListener> listener;
};

// The second's wait before registering and the log lines are in the touch-device-arrival scenario,
// frames dropped while the engine stands aside in the touch-odd-frames scenario, and these two
// trackpads' tagged ids in the touch-top-slide and touch-corner-abandoned scenarios. That a Magic
// Mouse's frames are never followed and its removal is logged is in touch-device-arrival too.
TEST_F(DeviceRegistrationTest, DevicesAreModelledAndRegisteredAsTheirKindAndShownToTheViewerOnlyWhileItShows)
{
    desktop_.setModel("MacBookPro18,1");
    trackpad("builtin", 1452, 635, 0x1000000, 0x0200000001000000, true, true);
    desktop_.multitouch().connect({"mouse", 0x0400000000004000, 112, false, false, 0, 0});
    pointingDevice("mouse", ids(1452, 781, 0x4000));
    startListener();
    // The model knows a Magic Mouse while it is connected.
    EXPECT_TRUE(listener->devicesModel().magicMouseExists());
    unplug("mouse");
    EXPECT_FALSE(listener->devicesModel().magicMouseExists());
    trackpad("magic", 76, 613, 0x3000, 0x0400000000003000, false, true);
    advance(1.0);
    touch("builtin");
    viewer.showing = true;
    touch("magic");

    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].deviceType, DeviceType::internalTrackpad2);
    EXPECT_EQ(events[1].deviceType, DeviceType::magicTrackpad2);
    EXPECT_EQ(viewer.shown, std::vector<std::int64_t>{0x0400000000003000});

    MTTrackpadRegistrar::handleContactFrame(nullptr, nullptr, 1, 0.0, 0, nullptr);
    EXPECT_EQ(transcript({"syslog"}).substr(transcript({"syslog"}).rfind("syslog")),
              "syslog info com-marrowind-Veltrane MT callback with nil values\n");
}

TEST_F(DeviceRegistrationTest, DevicesArrivingThroughTheHidManagerAloneFindTheirFrameworkDevice)
{
    desktop_.faults().multitouchList = true;
    trackpad("other builtin", 1452, 566, 0x2000, 0x0300000000002000, true);
    startListener();
    advance(1.0);
    touch("other builtin");

    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].deviceType, DeviceType::internalTrackpad);
}

// An unknown pointer with force registered as a trackpad with force, and a plain one not, are in the
// touch-device-arrival scenario.
TEST_F(DeviceRegistrationTest, UnknownPointersAreTrackpadsOnlyWithForceOrTheBuiltInName)
{
    desktop_.faults().multitouchList = true;
    startListener();
    pointingDevice("plain", ids(1, 2, 0x10));
    auto named = ids(1, 4, 0x30);
    named.emplace("Product", std::string("Apple Internal Keyboard / Trackpad"));
    pointingDevice("named", std::move(named));
    pointingDevice("unlocated", {{"VendorID", std::int64_t{1452}}, {"ProductID", std::int64_t{782}}});
    desktop_.multitouch().connect({"plain", 0x0400000000000010, 0, false, false, 100, 100});
    desktop_.multitouch().connect({"named", 0x0300000000000030, 0, true, false, 100, 100});
    advance(1.0);
    touch("plain");
    touch("named");

    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].deviceType, DeviceType::internalTrackpad);
    EXPECT_EQ(listener->devicesModel().deviceType(0x10), DeviceType::unknown);
}

TEST_F(DeviceRegistrationTest, TheModelNameDecidesTheBuiltInTrackpadInAnyCase)
{
    desktop_.setModel("MACBOOKAIR10,1");
    desktop_.faults().multitouchList = true;
    startListener();
    EXPECT_EQ(transcript({"devices"}), "");

    pointingDevice("plain", ids(1, 2, 0x10));
    unplug("plain");
    // Removing what the model does not know changes nothing.
    pointingDevice("unknown", {{"LocationID", std::uint64_t{0x99}}});
    unplug("unknown");

    EXPECT_EQ(transcript({"devices", "syslog"}), "0.000 devices trackpad=true force=false mouse=false\n");
}

TEST_F(DeviceRegistrationTest, AFailedStartIsLoggedOnceAndRemovalStopsTheFrames)
{
    desktop_.faults().multitouchStart = true;
    trackpad("magic", 1452, 782, 0x3000, 0x0400000000003000);
    startListener();
    advance(1.0);
    unplug("magic");
    trackpad("magic", 1452, 782, 0x3000, 0x0400000000003000);
    advance(1.0);
    touch("magic");
    unplug("magic");
    desktop_.multitouch().connect({"magic", 0x0400000000003000, 0, false, false, 16000, 11000});
    touch("magic");

    EXPECT_EQ(transcript({"syslog"}), "1.000 syslog error com-marrowind-Veltrane Unable to register device\n"
                                      "1.000 syslog info com-marrowind-Veltrane Unregistered trackpad\n"
                                      "2.000 syslog info com-marrowind-Veltrane Registered trackpad\n"
                                      "2.000 syslog info com-marrowind-Veltrane Unregistered trackpad\n");
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(DeviceRegistrationTest, WithoutThePrivateFrameworkDevicesAreOnlyModelled)
{
    platform().userDefaults.setBool("usePrivateFramework", false);
    trackpad("magic", 1452, 782, 0x3000, 0x0400000000003000);
    startListener();
    advance(2.0);
    touch("magic");

    EXPECT_TRUE(events.empty());
    EXPECT_EQ(listener->devicesModel().deviceType(0x3000), DeviceType::magicTrackpad);
}

TEST_F(DeviceRegistrationTest, OddCountsNeverReadPastTheFrame)
{
    desktop_.multitouch().connect({"magic", 0x0400000000003000, 0, false, false, 16000, 11000});
    DevicesModel model(platform().bindings, false);
    MTTrackpadRegistrar registrar(
        platform(), defaults, model,
        {[this](const TouchEvent& event) { events.push_back(event); }, {}, nullptr});
    const auto device = platform().multitouch.MTDeviceCreateFromDeviceID(0x0400000000003000);
    std::vector<platform::MTTouch> contacts(MTTrackpadRegistrar::kMaxContacts);
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        contacts[i] = testing::record({.path = static_cast<std::int32_t>(i), .stage = 3});
    }

    MTTrackpadRegistrar::handleContactFrame(device.get(), contacts.data(), INT_MAX, 0.0, 0, &registrar);
    MTTrackpadRegistrar::handleContactFrame(device.get(), contacts.data(), -5, 0.0, 0, &registrar);
    MTTrackpadRegistrar::handleContactFrame(device.get(), nullptr, 3, 0.0, 0, &registrar);

    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].touchCount, MTTrackpadRegistrar::kMaxContacts);
}

}  // namespace
}  // namespace veltrane
