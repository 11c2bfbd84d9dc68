#include "platform/linux/devices/KeyDecoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace veltrane::linuxbackend {
namespace {

using Change = KeyDecoder::Change;
using Kind = Change::Kind;
using testing::ElementsAre;

// The kernel's events, as the decoder reads them from a keyboard.
const auto event = [](std::uint16_t type, std::uint16_t code, std::int32_t value) {
    return input_event{.time = {}, .type = type, .code = code, .value = value};
};
const auto scan = [](std::int32_t value) { return event(EV_MSC, MSC_SCAN, value); };
const auto key = [](std::uint16_t code, std::int32_t value) { return event(EV_KEY, code, value); };
const auto report = [] { return event(EV_SYN, SYN_REPORT, 0); };

// The changes a stream makes, the events that change no key left out.
std::vector<Change> decode(std::uint16_t bus, const std::vector<input_event>& stream)
{
    KeyDecoder decoder(bus);
    std::vector<Change> changes;
    for (const input_event& each : stream) {
        const Change change = decoder.feed(each);
        if (change.kind != Kind::none) {
            changes.push_back(change);
        }
    }
    return changes;
}

TEST(KeyDecoderHid, TakesTheUsageFromTheScanEvenWhenTheKeymapMovedTheKey)
{
    // Caps lock's usage, reported as Escape by a keymap that swapped the two.
    EXPECT_THAT(
        decode(BUS_USB, {scan(0x70039), key(KEY_ESC, 1), report(), scan(0x70039), key(KEY_ESC, 0), report()}),
        ElementsAre(Change{Kind::down, KEY_ESC, 7, 0x39}, Change{Kind::up, KEY_ESC, 7, 0x39}));
    EXPECT_THAT(decode(BUS_BLUETOOTH, {scan(0xff0003), key(KEY_FN, 1)}),
                ElementsAre(Change{Kind::down, KEY_FN, 0xff, 3}));
}

TEST(KeyDecoderHid, ForgetsAScanAtTheEndOfItsFrameOnceUsedAndWhenEventsAreLost)
{
    // Scans whose key did not change, then keys that come without one: the table names them.
    EXPECT_THAT(decode(BUS_USB, {scan(0x70039), report(), key(KEY_A, 1), scan(0x70039), key(KEY_ESC, 1),
                                 key(KEY_B, 1), scan(0x70039), event(EV_SYN, SYN_DROPPED, 0), key(KEY_C, 1)}),
                ElementsAre(Change{Kind::down, KEY_A, 7, 4}, Change{Kind::down, KEY_ESC, 7, 0x39},
                            Change{Kind::down, KEY_B, 7, 5}, Change{Kind::dropped},
                            Change{Kind::down, KEY_C, 7, 6}));
}

// 0x1e is the AT set 1 code of A, not a HID usage; a key without a usage goes on with usage zero.
TEST(KeyDecoderAt, IgnoresTheControllersOwnScanCodesAndUsesTheTable)
{
    EXPECT_THAT(decode(BUS_I8042, {scan(0x1e), key(KEY_A, 1), report(), scan(0x9e), key(KEY_A, 0), report(),
                                   key(KEY_PROG1, 1), report(), key(KEY_PROG1, 0), report()}),
                ElementsAre(Change{Kind::down, KEY_A, 7, 4}, Change{Kind::up, KEY_A, 7, 4},
                            Change{Kind::down, KEY_PROG1, 0, 0}, Change{Kind::up, KEY_PROG1, 0, 0}));
}

TEST(KeyDecoderStream, ReportsRepeatsAndLostEventsApartFromKeyChangesAndIgnoresTheRest)
{
    EXPECT_THAT(decode(BUS_USB, {event(EV_REL, REL_X, 3), event(EV_LED, LED_CAPSL, 1), key(KEY_B, 7),
                                 scan(0x70004), key(KEY_A, 1), report(), key(KEY_A, 2), report(),
                                 event(EV_SYN, SYN_DROPPED, 0), key(KEY_A, 0), report()}),
                ElementsAre(Change{Kind::down, KEY_A, 7, 4}, Change{Kind::repeat, KEY_A, 7, 4},
                            Change{Kind::dropped}, Change{Kind::up, KEY_A, 7, 4}));
}

}  // namespace
}  // namespace veltrane::linuxbackend
