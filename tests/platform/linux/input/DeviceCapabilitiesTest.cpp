#include "platform/linux/input/DeviceCapabilities.h"

#include <gtest/gtest.h>

#include <libevdev/libevdev.h>

#include <memory>

namespace veltrane::linuxbackend {
namespace {

TEST(DeviceCapabilities, ReadsIdentityAndEachKindOfCodeFromItsOwnTable)
{
    const std::unique_ptr<libevdev, void (*)(libevdev*)> device(libevdev_new(), libevdev_free);
    libevdev* made = device.get();
    libevdev_set_name(made, "Clickpad");
    libevdev_set_uniq(made, "SN-42");
    libevdev_set_id_bustype(made, BUS_I8042);
    libevdev_set_id_vendor(made, 0x2);
    libevdev_set_id_product(made, 0x7);
    libevdev_set_id_version(made, 0x1b1);
    const input_absinfo axis{};
    libevdev_enable_event_code(made, EV_ABS, ABS_MT_POSITION_X, &axis);
    libevdev_enable_event_code(made, EV_KEY, KEY_MAX, nullptr);
    libevdev_enable_event_code(made, EV_REL, REL_WHEEL, nullptr);
    libevdev_enable_event_code(made, EV_LED, LED_CAPSL, nullptr);
    libevdev_enable_property(made, INPUT_PROP_BUTTONPAD);

    const DeviceCapabilities read = DeviceCapabilities::read(made);

    EXPECT_EQ(read.name, "Clickpad");
    EXPECT_EQ(read.phys, "");
    EXPECT_EQ(read.uniq, "SN-42");
    EXPECT_EQ(read.bus, BUS_I8042);
    EXPECT_EQ(read.vendor, 0x2);
    EXPECT_EQ(read.product, 0x7);
    EXPECT_EQ(read.version, 0x1b1);
    EXPECT_EQ(read.keys.count(), 1u);
    EXPECT_TRUE(read.hasKey(KEY_MAX));
    EXPECT_EQ(read.absoluteAxes.count(), 1u);
    EXPECT_TRUE(read.hasAbsolute(ABS_MT_POSITION_X));
    EXPECT_EQ(read.relativeAxes.count(), 1u);
    EXPECT_TRUE(read.hasRelative(REL_WHEEL));
    EXPECT_EQ(read.leds.count(), 1u);
    EXPECT_TRUE(read.leds[LED_CAPSL]);
    EXPECT_EQ(read.properties.count(), 1u);
    EXPECT_TRUE(read.hasProperty(INPUT_PROP_BUTTONPAD));
}

}  // namespace
}  // namespace veltrane::linuxbackend
