#include "SimTest.h"

#include "core/Notifications.h"
#include "keyboard/KeyboardHID.h"

#include <any>

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
        onMain([&] { listener.refresh(false); });
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
    // Each setting is read when first asked for, so the tests set theirs before starting.
    Defaults defaults{platform().userDefaults};
    HyperFlags hyperFlags{defaults};
    HidRemap hidRemap{platform(), defaults};
    KeyboardHID listener{platform(), defaults, hyperFlags, presser, hidRemap, indicator};
};

// A start the guard refuses (two changes of a setting within a second, a wake just after the
// start, an input error) comes once the second has passed, unless the listener is stopped before.
TEST_F(KeyboardHIDTest, ListensWhenASettingWantsItAndStartsAtMostOnceASecondAlsoAfterAnInputError)
{
    start();
    EXPECT_EQ(transcript({"log"}), "");

    defaults.winRemap().setEnabled(true);
    start();
    onMain([&] { listener.refresh(true); });
    advance(0.5);
    onMain([&] { listener.listen(); });
    advance(0.6);
    onMain([&] { listener.refresh(true); });
    defaults.winRemap().setEnabled(false);
    onMain([&] { listener.refresh(false); });
    advance(2.0);
    defaults.keyRemap().setEnabled(true);
    start();
    desktop_.faults().hidValue = static_cast<platform::HidResult>(0xE0005000u);
    key("kb", kA, true);
    advance(1.5);
    desktop_.faults().hidValue = -7;
    key("kb", kA, true);
    advance(1.0);

    EXPECT_EQ(transcript({"log"}), "0.000 log info Open: 0\n"
                                   "1.001 log info Open: 0\n"
                                   "3.100 log info Open: 0\n"
                                   "3.100 log info Keystroke error -536850432\n"
                                   "4.101 log info Open: 0\n"
                                   "4.600 log info Keystroke error -7\n"
                                   "5.102 log info Open: 0\n");
}

TEST_F(KeyboardHIDTest, AManagerThatCannotBeOpenedIsReportedAndTheListenerGoesOn)
{
    set("keyRemap", 1);
    desktop_.faults().hidOpen = platform::kHidNotPermitted;
    start();
    advance(1.5);
    desktop_.faults().hidOpen = -5;
    onMain([&] { listener.refresh(true); });
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
    EXPECT_FALSE(hyperFlags.keyDown());
}

// Keyboards of other makers (or of none known) hold Option and Command for the swap (Apple's are
// in the windows-keyboard-swap scenario). Standing aside, the listener starts nothing, but what was
// held before comes up in it: a hold never outlives its key. A listener that stops lets go too.
TEST_F(KeyboardHIDTest, WhileTheEngineStandsAsideKeysStartNothingAndWhatWasHeldComesUp)
{
    set("keyRemap", 1);
    set("winRemap", 1);
    set("hyperAsCapsLockManualKeypress", 1);
    start();
    const auto standAside = [&](const std::any& object) {
        onMain([&] { platform().notificationCenter.post(Notifications::kFrontmostAppToggle, object); });
    };
    key("kb", kCapsLock, true);
    key("pc", {7, 0xE6}, true);
    key("kb", {7, 0xE7}, true);
    EXPECT_TRUE(hyperFlags.optionDown());
    EXPECT_TRUE(hyperFlags.commandDown());
    standAside(true);
    key("kb", kCapsLock, false);
    key("pc", {7, 0xE6}, false);
    key("kb", {7, 0xE7}, false);
    EXPECT_FALSE(hyperFlags.keyDown());
    EXPECT_FALSE(hyperFlags.optionDown());
    EXPECT_FALSE(hyperFlags.commandDown());
    key("kb", kCapsLock, true);
    key("pc", {7, 0xE3}, true);
    EXPECT_EQ(hyperFlags.state(), 0);
    key("kb", kCapsLock, false);

    standAside(std::string("no"));
    key("kb", kCapsLock, true);
    key("pc", {7, 0xE6}, true);
    EXPECT_TRUE(hyperFlags.keyDown());
    EXPECT_TRUE(hyperFlags.optionDown());
    onMain([&] {
        defaults.keyRemap().setEnabled(false);
        defaults.winRemap().setEnabled(false);
        listener.refresh(false);
    });
    EXPECT_FALSE(hyperFlags.keyDown());
    EXPECT_FALSE(hyperFlags.optionDown());
    EXPECT_EQ(transcript({"post"}),
              "0.000 post keyDown key=55 flags=0x0\n0.000 post keyUp key=55 flags=0x0\n"
              "0.000 post keyDown key=55 flags=0x0\n0.000 post keyUp key=55 flags=0x0\n");
}

// The quick press timed on the clock, a hold of exactly the timeout, and another key cancelling it
// are in the quick-press-escape scenario; a quick key code beyond 16 bits in odd-settings.
TEST_F(KeyboardHIDTest, TheQuickPressWithoutAKeyTogglesAMappedCapsLock)
{
    set("executeQuickHyperKey", 1);
    set("longPressCapsLockTurnsItOff", 1);
    start();
    onMain([&] { hidRemap.addMapping(0x39, 0); });
    key("kb", kCapsLock, true);
    key("kb", kCapsLock, false);  // quick: the mapped caps lock's lock is toggled by the listener
    key("kb", kCapsLock, true);
    advance(2.0);
    key("kb", kCapsLock, false);  // long: the lock is switched off

    EXPECT_EQ(transcript({"capslock", "post"}), "0.000 capslock on\n2.000 capslock off\n");
}

// With caps lock not the hyper key, the listener can send caps lock's replacement itself.
TEST_F(KeyboardHIDTest, OnlyKeyboardUsagesCountAnyPageCanCarryTheHyperKeyAndCapsLockIsReplacedWithModifiers)
{
    set("keyRemap", 1);
    set("physicalKeycode", 0x65);
    set("capsLockRemapped", 1);
    set("listenerRemap", 1);
    set("capsLockKeycode", 0x2A);
    start();
    onMain([&] { hidRemap.addMapping(0x39, 0); });
    key("kb", {7, 0x02}, true);
    key("kb", {12, 0x65}, true);
    EXPECT_TRUE(hyperFlags.keyDown());
    key("kb", {7, 0x65}, false);
    EXPECT_FALSE(hyperFlags.keyDown());
    key("kb", {7, 0xE1}, true);
    key("kb", kCapsLock, true);
    key("kb", kCapsLock, false);

    EXPECT_EQ(transcript({"post"}),
              "0.000 post keyDown key=51 flags=0x20000\n0.000 post keyUp key=51 flags=0x20000\n");
}

}  // namespace
}  // namespace veltrane
