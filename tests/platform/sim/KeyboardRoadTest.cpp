#include "SimTest.h"

#include "platform/sim/SimKeyboard.h"

namespace veltrane::sim {
namespace {

using platform::HidKeyMapping;

constexpr HidKey kA{7, 0x04};
constexpr HidKey kCapsLock{7, 0x39};

class KeyboardRoadTest : public testing::SimTest {
protected:
    KeyboardRoadTest() : keyboard(desktop_.hid().connect("kb", {})) {}

    void tap(HidKey key)
    {
        desktop_.hid().key("kb", key, true);
        desktop_.hid().key("kb", key, false);
        settle();
    }
    void press(HidKey key, bool down)
    {
        desktop_.hid().key("kb", key, down);
        settle();
    }
    // Follows the raw values, as a process's HID manager on its own queue sees them.
    void listenRaw()
    {
        manager = platform().hidManagers.createHidManager();
        manager->setDeviceMatching({{1, 6}});
        manager->registerInputValueCallback([this](platform::HidResult, const platform::HidValue& value) {
            desktop_.transcript().record("raw", std::to_string(value.usage) + "=" +
                                                    std::to_string(value.integerValue));
        });
        manager->open();
        manager->schedule(*hidQueue);
    }

    SimKeyboard& keyboard;
    std::shared_ptr<platform::Queue> hidQueue = platform().dispatch.makeSerialQueue("hidQueue");
    std::shared_ptr<platform::HidManager> manager;
};

TEST_F(KeyboardRoadTest, AnUnmappedCapsLockTogglesTheLockOnEachPressAndFlagsLaterEvents)
{
    tap(kCapsLock);
    tap(kA);
    tap(kCapsLock);

    EXPECT_EQ(transcript(), "0.000 capslock on\n"
                            "0.000 deliver flagsChanged key=57 flags=0x10000\n"
                            "0.000 deliver keyDown key=0 flags=0x10000\n"
                            "0.000 deliver keyUp key=0 flags=0x10000\n"
                            "0.000 capslock off\n"
                            "0.000 deliver flagsChanged key=57 flags=0x0\n");
}

TEST_F(KeyboardRoadTest, HidManagersSeeTheRawKeyBeforeTheMappedEventReachesTheStream)
{
    listenRaw();
    keyboard.setUserKeyMapping({HidKeyMapping{0x700000039, 0x7000000E3}});

    tap(kCapsLock);

    EXPECT_EQ(transcript({"raw", "deliver", "capslock"}), "0.000 raw 57=1\n"
                                                          "0.000 deliver flagsChanged key=55 flags=0x100000\n"
                                                          "0.000 raw 57=0\n"
                                                          "0.000 deliver flagsChanged key=55 flags=0x0\n");
}

TEST_F(KeyboardRoadTest, ADestinationOfNoKeySilencesTheKeyButNotItsRawValues)
{
    listenRaw();
    keyboard.setUserKeyMapping({HidKeyMapping{0x700000039, 0x700000000}});

    tap(kCapsLock);

    EXPECT_EQ(transcript({"raw", "deliver", "capslock"}), "0.000 raw 57=1\n0.000 raw 57=0\n");
}

TEST_F(KeyboardRoadTest, AKeyIsReleasedAsWhatItWasWhenItWentDown)
{
    keyboard.setUserKeyMapping({HidKeyMapping{0x700000039, 0x7000000E3}});
    press(kCapsLock, true);
    keyboard.setUserKeyMapping({HidKeyMapping{0x700000039, 0x700000039}});
    press(kCapsLock, false);
    tap(kA);

    EXPECT_EQ(transcript({"deliver", "capslock"}), "0.000 deliver flagsChanged key=55 flags=0x100000\n"
                                                   "0.000 deliver flagsChanged key=55 flags=0x0\n"
                                                   "0.000 deliver keyDown key=0 flags=0x0\n"
                                                   "0.000 deliver keyUp key=0 flags=0x0\n");
}

TEST_F(KeyboardRoadTest, EveryWriteReplacesTheWholeMappingAndMalformedPairsAreIgnored)
{
    keyboard.setUserKeyMapping(
        {HidKeyMapping{0x700000004, std::nullopt}, HidKeyMapping{0x700000004, 0x700000029}});
    tap(kA);
    keyboard.setUserKeyMapping({});
    tap(kA);

    EXPECT_EQ(transcript({"keymap", "deliver"}), "0.000 keymap kb 0x700000004->? 0x700000004->0x700000029\n"
                                                 "0.000 deliver keyDown key=53 flags=0x0\n"
                                                 "0.000 deliver keyUp key=53 flags=0x0\n"
                                                 "0.000 keymap kb (empty)\n"
                                                 "0.000 deliver keyDown key=0 flags=0x0\n"
                                                 "0.000 deliver keyUp key=0 flags=0x0\n");
}

}  // namespace
}  // namespace veltrane::sim
