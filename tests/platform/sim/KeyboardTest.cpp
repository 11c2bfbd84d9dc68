#include "SimTest.h"

#include "platform/sim/SimKeyboard.h"

namespace veltrane::sim {
namespace {

using platform::Event;
using platform::EventType;
using platform::HidKeyMapping;

constexpr platform::EventMask kKeyMask = 0x1C00;

// A desktop with one keyboard, "kb", whose keys the test presses by their key-table names.
class KeyboardTest : public testing::SimTest {
protected:
    void press(std::string_view key, bool down = true)
    {
        desktop_.hid().key("kb", key, down);
        settle();
    }
    void tap(std::string_view key)
    {
        desktop_.hid().key("kb", key, true);
        press(key, false);
    }
    // A keyboard manager that notes each value it hears as a "value" line: "57=1 result=0".
    std::shared_ptr<platform::HidManager> listen()
    {
        auto manager = platform().hidManagers.createHidManager();
        manager->setDeviceMatching({{1, 6}});
        manager->registerInputValueCallback(
            [this](platform::HidResult result, const platform::HidValue& value) {
                desktop_.transcript().record("value", std::to_string(value.usage) + "=" +
                                                          std::to_string(value.integerValue) +
                                                          " result=" + std::to_string(result));
            });
        manager->schedule(*hidQueue);
        return manager;
    }

    SimKeyboard& keyboard = desktop_.hid().connect("kb", {});
    std::shared_ptr<platform::Queue> hidQueue = platform().dispatch.makeSerialQueue("hidQueue");
};

using EventStreamTest = KeyboardTest;
using KeyboardRoadTest = KeyboardTest;

TEST_F(EventStreamTest, SourcesOtherThanPrivateCarryTheSystemModifiers)
{
    desktop_.hid().key("kb", "lshift", true);
    desktop_.windowServer().setCapsLockState(true);
    desktop_.windowServer().setCapsLockState(true);
    const auto privateSource =
        platform().eventPoster.createEventSource(platform::EventSourceState::privateState);
    const auto sessionSource =
        platform().eventPoster.createEventSource(platform::EventSourceState::combinedSession);

    EXPECT_EQ(privateSource->createKeyboardEvent(0, true)->flags, 0u);
    EXPECT_EQ(sessionSource->createKeyboardEvent(0, false)->flags, 0x30000u);
    EXPECT_EQ(platform().eventPoster.modifierFlags(), 0x30000u);
    EXPECT_EQ(transcript({"capslock"}), "0.000 capslock on\n");
}

// A tap that cannot be created is nothing. A keyboard's service is one of a keyboard, and once gone
// takes no mapping. The event system's list (in connection order, missing once when armed) and a
// refusal while the other keyboards take the mapping are in the HID remap tests; a tap switched off
// by a timeout, told so in its callback while the event passes unchanged, in the tap-timeout scenario.
TEST_F(KeyboardTest, ArmedFaultsStrikeOnceEachAndAKeyboardGoneTakesNoMapping)
{
    desktop_.faults().tapCreate = true;
    EXPECT_EQ(platform().eventTaps.createTap(kKeyMask, [](EventType, Event&) {}), nullptr);
    EXPECT_NE(platform().eventTaps.createTap(kKeyMask, [](EventType, Event&) {}), nullptr);
    auto manager = listen();
    desktop_.faults().hidOpen = platform::kHidNotPermitted;
    EXPECT_EQ(manager->open(), platform::kHidNotPermitted);
    press("a");
    EXPECT_EQ(manager->open(), platform::kHidSuccess);
    desktop_.faults().hidValue = -5;
    press("a");
    press("a");

    EXPECT_EQ(transcript({"value"}), "0.000 value 4=1 result=-5\n0.000 value 4=1 result=0\n");

    const auto services = platform().hidEventSystem.copyServices();
    ASSERT_TRUE(services.has_value());
    const auto service = services->at(0);
    EXPECT_TRUE(service->conformsTo(1, 6));
    EXPECT_FALSE(service->conformsTo(1, 2));

    desktop_.faults().refusingKeyboards.insert("kb");
    const std::vector<HidKeyMapping> mapping{{0x700000039, 0x700000029}};
    EXPECT_FALSE(service->setUserKeyMapping(mapping));
    EXPECT_TRUE(service->setUserKeyMapping(mapping));
    desktop_.hid().unplug("kb");
    EXPECT_FALSE(service->setUserKeyMapping(mapping));

    EXPECT_EQ(transcript({"keymap"}), "0.000 keymap kb refused\n0.000 keymap kb 0x700000039->0x700000029\n");
}

// What the keyboard does unmapped (caps lock toggling its lock, modifiers flagging later events) is
// the keyboard-road scenario's to check; that managers hear the raw key, before the mapped event,
// is the HID manager contract's and the hyper-chord example's.
TEST_F(KeyboardRoadTest, AKeyMappedToNoKeyStillReachesHidManagersButGivesNoEvent)
{
    const auto manager = listen();
    manager->open();
    keyboard.setUserKeyMapping({HidKeyMapping{0x700000039, 0x700000000}});
    tap("capslock");

    EXPECT_EQ(transcript({"value", "deliver", "capslock"}),
              "0.000 value 57=1 result=0\n0.000 value 57=0 result=0\n");
}

// A malformed pair is left out of a mapping; a key is released as what it was mapped to when it
// went down.
TEST_F(KeyboardRoadTest, EveryWriteReplacesTheWholeMappingAndAKeyIsReleasedAsWhatItWentDownAs)
{
    keyboard.setUserKeyMapping(
        {HidKeyMapping{0x700000004, std::nullopt}, HidKeyMapping{0x700000004, 0x700000029}});
    tap("a");
    keyboard.setUserKeyMapping({HidKeyMapping{0x700000039, 0x7000000E3}});
    press("capslock");
    keyboard.setUserKeyMapping({});
    press("capslock", false);
    tap("a");

    EXPECT_EQ(transcript({"keymap", "deliver", "capslock"}),
              "0.000 keymap kb 0x700000004->? 0x700000004->0x700000029\n"
              "0.000 deliver keyDown key=53 flags=0x0\n"
              "0.000 deliver keyUp key=53 flags=0x0\n"
              "0.000 keymap kb 0x700000039->0x7000000e3\n"
              "0.000 deliver flagsChanged key=55 flags=0x100000\n"
              "0.000 keymap kb (empty)\n"
              "0.000 deliver flagsChanged key=55 flags=0x0\n"
              "0.000 deliver keyDown key=0 flags=0x0\n"
              "0.000 deliver keyUp key=0 flags=0x0\n");
}

}  // namespace
}  // namespace veltrane::sim
