#include "SimTest.h"

#include "keyboard/KeyboardListener.h"

namespace veltrane {
namespace {

sim::SimKeyboard::Properties keyboardProperties(std::int64_t vendor, std::uint64_t location)
{
    return {{std::string(platform::kHidVendorId), vendor},
            {std::string(platform::kHidProductId), std::int64_t{0x27E}},
            {std::string(platform::kHidLocationId), location}};
}

using KeyboardListenerTest = testing::SimTest;

// Keyboards are announced keyboardConnectionDelay seconds after they arrive, and departures at once
// (the keyboard-later scenario shows both with the default delay). A device without vendor,
// product and location, or with the identity of a keyboard already there, is not announced; a
// keyboard that left is new again when it comes back. Listening twice listens once.
TEST_F(KeyboardListenerTest, OnlyKeyboardsWithAllThreePropertiesNotSeenBeforeAreAnnouncedAfterTheDelay)
{
    captureLogs();
    platform().userDefaults.setInteger("keyboardConnectionDelay", 3);
    Defaults defaults(platform().userDefaults);
    KeyboardListener listener(platform(), defaults);
    desktop_.hid().connect("bare", {{std::string(platform::kHidVendorId), std::int64_t{1}}});
    desktop_.hid().connect("kb", keyboardProperties(0x46D, 1));
    onMain([&] {
        listener.listen();
        listener.listen();
    });
    desktop_.hid().connect("twin", keyboardProperties(0x46D, 1));
    desktop_.hid().unplug("bare");
    advance(3.0);
    desktop_.hid().unplug("kb");
    settle();
    desktop_.hid().connect("kb", keyboardProperties(0x46D, 1));
    advance(3.0);

    const std::string detected =
        "log info Detected keyboard: KeyboardDevice(vendor: 1133, product: 638, locationId: 1)\n";
    const std::string announced = "notify keyboardAddedOrRemoved\n";
    EXPECT_EQ(transcript({"notify", "log"}), "0.000 " + detected + "3.000 " + announced + "3.000 " +
                                                 announced + "3.000 " + detected + "6.000 " + announced);
}

}  // namespace
}  // namespace veltrane
