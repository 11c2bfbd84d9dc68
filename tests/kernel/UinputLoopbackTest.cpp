#include "EvdevReader.h"
#include "UinputKeyboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrane::kernel {
namespace {

// The events of one key, as text: "scan 0x70004", "key 30 1", "report".
std::vector<std::string> eventsOfOneKey(EvdevReader& reader)
{
    std::vector<std::string> texts;
    while (const auto event = reader.next()) {
        char text[48];
        if (event->type == EV_MSC && event->code == MSC_SCAN) {
            std::snprintf(text, sizeof text, "scan %#x", static_cast<unsigned>(event->value));
        } else if (event->type == EV_KEY) {
            std::snprintf(text, sizeof text, "key %u %d", event->code, event->value);
        } else if (event->type == EV_SYN) {
            texts.emplace_back("report");
            return texts;
        } else {
            std::snprintf(text, sizeof text, "type %u code %u", event->type, event->code);
        }
        texts.emplace_back(text);
    }
    return texts;
}

// The test keyboards report their keys as the two kinds of real keyboard do: a USB keyboard with
// the HID usage before each key, an AT keyboard without.
TEST(UinputLoopbackTest, TestKeyboardsReportKeysAsUsbAndAtKeyboardsDo)
{
    UinputKeyboard usb("Test USB Keyboard", UinputKeyboard::Bus::usb, 0x5AC, 0x27E);
    UinputKeyboard at("Test AT Keyboard", UinputKeyboard::Bus::at, 0x1, 0x1);
    EvdevReader usbReader(usb.eventNode());
    EvdevReader atReader(at.eventNode());

    usb.key(KEY_CAPSLOCK, true);
    usb.key(KEY_CAPSLOCK, false);
    at.key(KEY_A, true);

    EXPECT_EQ(eventsOfOneKey(usbReader), (std::vector<std::string>{"scan 0x70039", "key 58 1", "report"}));
    EXPECT_EQ(eventsOfOneKey(usbReader), (std::vector<std::string>{"scan 0x70039", "key 58 0", "report"}));
    EXPECT_EQ(eventsOfOneKey(atReader), (std::vector<std::string>{"key 30 1", "report"}));
}

}  // namespace
}  // namespace veltrane::kernel
