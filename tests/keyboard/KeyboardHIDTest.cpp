#include "SimTest.h"

#include "core/Notifications.h"
#include "keyboard/KeyboardHID.h"

namespace veltrane {
namespace {

constexpr sim::HidKey kCapsLock{7, 0x39};
constexpr sim::HidKey kA{7, 0x04};

class KeyboardHIDTest : public testing::SimTest {
protected:
    KeyboardHIDTest()
    {
        captureLogs(logging::Level::info);
        desktop_.hid().connect("kb", {});
        desktop_.hid().connect("pc", {{std::string(platform::kHidVendorId), std::int64_t{0x46D}}});
        desktop_.hid().connect("mac", {{std::string(platform::kHidVendorId), std::int64_t{0x5AC}}});
    }
    void set(const std::string& key, std::int64_t value) { platform().userDefaults.setInteger(key, value); }
    void start()
    {
        onMain([&] { listener().refresh(false); });
    }
    KeyboardHID& listener()
    {
        if (!keyboardHID) {
            defaults = std::make_unique<Defaults>(platform().userDefaults);
            hyperFlags = std::make_unique<HyperFlags>(*defaults);
            hidRemap = std::make_unique<HidRemap>(platform(), *defaults);
            keyboardHID = std::make_unique<KeyboardHID>(platform(), *defaults, *hyperFlags, presser,
                                                        *hidRemap, indicator);
        }
        return *keyboardHID;
    }
    // New engine objects, which read the settings afresh; the keyboards keep their mapping.
    void relaunchEngine()
    {
        keyboardHID.reset();
        hidRemap.reset();
        hyperFlags.reset();
        defaults.reset();
    }
    void key(const std::string& keyboard, sim::HidKey key, bool down)
    {
        desktop_.hid().key(keyboard, key, down);
        settle();
    }

    // The menu-bar icon is the status item's business, tested with it.
    struct : HyperIndicator {
        void showHyper(bool) override {}
    } indicator;
    KeyPresser presser{platform().eventPoster};
    std::unique_ptr<Defaults> defaults;
    std::unique_ptr<HyperFlags> hyperFlags;
    std::unique_ptr<HidRemap> hidRemap;
    std::unique_ptr<KeyboardHID> keyboardHID;
};

TEST_F(KeyboardHIDTest, ListensOnlyWhenASettingWantsItAndAtMostOnceASecond)
{
    start();
    EXPECT_EQ(transcript({"log"}), "");

    defaults->winRemap().setEnabled(true);
    start();
    onMain([&] { listener().listen(); });
    advance(1.0);
    onMain([&] { listener().listen(); });
    advance(0.001);
    onMain([&] { listener().listen(); });
    onMain([&] { listener().refresh(true); });

    EXPECT_EQ(transcript({"log"}), "0.000 log info Open: 0\n1.001 log info Open: 0\n");
    EXPECT_EQ(desktop_.transcript().lines().size(), 2u);
}

TEST_F(KeyboardHIDTest, AManagerThatCannotBeOpenedIsReportedAndTheListenerGoesOn)
{
    set("keyRemap", 1);
    desktop_.faults().hidOpen = platform::kHidNotPermitted;
    start();
    advance(1.5);
    desktop_.faults().hidOpen = -5;
    onMain([&] { listener().refresh(true); });
    key("kb", kCapsLock, true);

    const std::string text =
        "\"Make sure that Veltrane is checked in System Preferences -> Security & Privacy -> "
        "Privacy -> Accessibility.\\n\\n Additionally, either check or remove Veltrane in the "
        "Input Monitoring section under Accessibility.\"";
    EXPECT_EQ(transcript({"log", "alert"}), "0.000 log info Open: -536870174\n"
                                            "0.000 alert \"Veltrane has insufficient privileges\" " +
                                                text +
                                                "\n"
                                                "1.500 log info Open: -5\n"
                                                "1.500 alert \"Unable to initialize Veltrane\" " +
                                                text + "\n");
    EXPECT_FALSE(hyperFlags->keyDown());
}

TEST_F(KeyboardHIDTest, TheHyperKeyIsFollowedUnlessTheFrontmostApplicationDisablesTheListener)
{
    set("keyRemap", 1);
    start();
    advance(1.5);
    key("kb", kCapsLock, true);
    EXPECT_TRUE(hyperFlags->keyDown());
    onMain([&] { platform().notificationCenter.post(Notifications::kFrontmostAppToggle, true); });
    key("kb", kCapsLock, false);
    EXPECT_TRUE(hyperFlags->keyDown());
    onMain(
        [&] { platform().notificationCenter.post(Notifications::kFrontmostAppToggle, std::string("no")); });
    key("kb", kCapsLock, false);
    EXPECT_FALSE(hyperFlags->keyDown());
}

TEST_F(KeyboardHIDTest, AnInputErrorRestartsTheListenerWithinItsGuard)
{
    set("keyRemap", 1);
    start();
    desktop_.faults().hidValue = static_cast<platform::HidResult>(0xE0005000u);
    key("kb", kA, true);
    advance(1.5);
    desktop_.faults().hidValue = -7;
    key("kb", kA, true);

    EXPECT_EQ(transcript({"log"}), "0.000 log info Open: 0\n"
                                   "0.000 log info Keystroke error -536850432\n"
                                   "1.500 log info Keystroke error -7\n"
                                   "1.500 log info Open: 0\n");
}

TEST_F(KeyboardHIDTest, OnlyKeyboardUsagesCountAndAnyPageCanCarryTheHyperKey)
{
    set("keyRemap", 1);
    set("physicalKeycode", 0x65);
    start();
    key("kb", {7, 0x02}, true);
    key("kb", {12, 0x65}, true);
    EXPECT_TRUE(hyperFlags->keyDown());
    key("kb", {7, 0x65}, false);
    EXPECT_FALSE(hyperFlags->keyDown());
}

TEST_F(KeyboardHIDTest, KeyboardsOfOtherMakersHoldOptionAndCommandForTheSwap)
{
    set("winRemap", 1);
    start();
    key("mac", {7, 0xE6}, true);
    EXPECT_FALSE(hyperFlags->optionDown());
    key("pc", {7, 0xE6}, true);
    EXPECT_TRUE(hyperFlags->optionDown());
    key("kb", {7, 0xE7}, true);
    EXPECT_TRUE(hyperFlags->commandDown());
    key("pc", {7, 0xE2}, false);
    key("kb", {7, 0xE3}, false);
    EXPECT_FALSE(hyperFlags->optionDown());
    EXPECT_FALSE(hyperFlags->commandDown());
}

// The quick press timed on the clock, a hold of exactly the timeout, and another key cancelling it
// are in the quick-press-escape scenario.
TEST_F(KeyboardHIDTest, TheQuickPressWithoutAKeyTogglesAMappedCapsLockAndOddCodesSendNothing)
{
    set("executeQuickHyperKey", 1);
    set("longPressCapsLockTurnsItOff", 1);
    start();
    onMain([&] { hidRemap->addMapping(0x39, 0); });
    key("kb", kCapsLock, true);
    key("kb", kCapsLock, false);  // quick: the mapped caps lock's lock is toggled by the listener
    key("kb", kCapsLock, true);
    advance(2.0);
    key("kb", kCapsLock, false);  // long: the lock is switched off

    set("quickHyperKeycode", 70000);
    relaunchEngine();
    start();
    key("kb", kCapsLock, true);
    key("kb", kCapsLock, false);

    EXPECT_EQ(transcript({"capslock", "post"}), "0.000 capslock on\n2.000 capslock off\n");
}

TEST_F(KeyboardHIDTest, TheListenerCanSendCapsLocksReplacementItselfWithTheSystemModifiers)
{
    set("keyRemap", 1);
    set("physicalKeycode", 0xE7);
    set("capsLockRemapped", 1);
    set("listenerRemap", 1);
    set("capsLockKeycode", 0x2A);
    start();
    onMain([&] { hidRemap->addMapping(0x39, 0); });
    key("kb", {7, 0xE1}, true);
    key("kb", kCapsLock, true);
    key("kb", kCapsLock, false);

    EXPECT_EQ(transcript({"post"}),
              "0.000 post keyDown key=51 flags=0x20000\n0.000 post keyUp key=51 flags=0x20000\n");
}

}  // namespace
}  // namespace veltrane
