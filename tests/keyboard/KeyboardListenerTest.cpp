#include "SimTest.h"

#include "keyboard/KeyboardListener.h"

namespace veltrane {
namespace {

using Properties = sim::SimKeyboard::Properties;

Properties keyboardProperties(std::int64_t vendor, std::uint64_t location)
{
    return {{std::string(platform::kHidVendorId), vendor},
            {std::string(platform::kHidProductId), std::int64_t{0x27E}},
            {std::string(platform::kHidLocationId), location}};
}

class KeyboardListenerTest : public testing::SimTest {
protected:
    KeyboardListenerTest() { captureLogs(); }
    void listen()
    {
        onMain([&] { listener.listen(); });
    }

    Defaults defaults{platform().userDefaults};
    KeyboardListener listener{platform(), defaults};
};

TEST_F(KeyboardListenerTest, KeyboardsAreAnnouncedAfterTheDelayAndDeparturesAtOnce)
{
    desktop_.hid().connect("kb", keyboardProperties(0x5AC, 0x14200000));
    listen();
    listen();
    advance(1.0);
    desktop_.hid().unplug("kb");
    settle();
    desktop_.hid().connect("kb", keyboardProperties(0x5AC, 0x14200000));
    advance(0.5);

    EXPECT_EQ(transcript({"notify", "log"}), "0.000 log info Detected keyboard: KeyboardDevice(vendor: 1452, "
                                             "product: 638, locationId: 337641472)\n"
                                             "1.000 notify keyboardAddedOrRemoved\n"
                                             "1.000 notify keyboardAddedOrRemoved\n"
                                             "1.000 log info Detected keyboard: KeyboardDevice(vendor: 1452, "
                                             "product: 638, locationId: 337641472)\n");
    advance(0.5);
    EXPECT_EQ(desktop_.transcript().lines().back().formatted(), "2.000 notify keyboardAddedOrRemoved");
}

TEST_F(KeyboardListenerTest, DevicesWithoutAllThreePropertiesOrSeenBeforeAreNotAnnounced)
{
    platform().userDefaults.setInteger("keyboardConnectionDelay", 3);
    Defaults delayed(platform().userDefaults);
    KeyboardListener other(platform(), delayed);
    desktop_.hid().connect("bare", {{std::string(platform::kHidVendorId), std::int64_t{1}}});
    desktop_.hid().connect("kb", keyboardProperties(0x46D, 1));
    onMain([&] { other.listen(); });
    desktop_.hid().connect("twin", keyboardProperties(0x46D, 1));
    desktop_.hid().unplug("bare");
    advance(3.0);

    EXPECT_EQ(transcript({"notify", "log"}),
              "0.000 log info Detected keyboard: KeyboardDevice(vendor: 1133, product: 638, locationId: 1)\n"
              "3.000 notify keyboardAddedOrRemoved\n");
}

}  // namespace
}  // namespace veltrane
