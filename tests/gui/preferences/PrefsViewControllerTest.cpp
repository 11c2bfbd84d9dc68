#include "gui/preferences/PrefsViewController.h"
#include "gui/preferences/PreferencePictures.h"

#include "SimTest.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <memory>
#include <string>

namespace veltrane::gui {
namespace {

// The window on the real engine objects of a simulated desktop with one keyboard, so that what it
// stores, posts and maps is what the desktop sees.
class PrefsViewControllerTest : public testing::SimTest {
protected:
    PrefsViewControllerTest() { desktop_.hid().connect("kb", {}); }

    // Opens the window on the settings stored so far; the transcript starts after the opening.
    PrefsViewController& open()
    {
        onMain([this] {
            shared = std::make_unique<SharedInstances>(platform());
            actions = std::make_unique<PreferenceActions>(platform(), *shared);
            loginItem = std::make_unique<LoginItem>(platform());
            window = std::make_unique<PrefsViewController>(platform(), *shared, *actions, *loginItem);
        });
        opening = transcript({"keymap"});
        desktop_.transcript().clear();
        return *window;
    }

    template <class Control> Control& control(const char* outlet)
    {
        auto* found = window->findChild<Control*>(outlet);
        EXPECT_NE(found, nullptr) << outlet;
        return *found;
    }
    QCheckBox& checkbox(const char* outlet) { return control<QCheckBox>(outlet); }
    QComboBox& popUp(const char* outlet) { return control<QComboBox>(outlet); }

    void click(const char* outlet)
    {
        onMain([&] { checkbox(outlet).click(); });
    }
    void choose(const char* outlet, std::int64_t tag)
    {
        onMain([&] {
            auto& select = popUp(outlet);
            select.setCurrentIndex(select.findData(QVariant::fromValue(tag)));
            select.activated(select.currentIndex());
        });
    }

    std::int64_t stored(const char* key) { return std::get<std::int64_t>(desktop_.defaults().at(key)); }
    bool shows(const char* outlet, const std::string& picture)
    {
        return control<QLabel>(outlet).pixmap().toImage() ==
               PreferencePictures::picture(picture, window->palette().color(QPalette::WindowText),
                                           window->devicePixelRatioF())
                   .toImage();
    }

    std::unique_ptr<SharedInstances> shared;
    std::unique_ptr<PreferenceActions> actions;
    std::unique_ptr<LoginItem> loginItem;
    std::unique_ptr<PrefsViewController> window;
    std::string opening;
};

// Which switches start on shows in what the tests below store by clicking each once. The window's
// title, and its size within the screen's, are in the kernel test that opens every window.
TEST_F(PrefsViewControllerTest, WithNothingStoredShowsTheDefaults)
{
    open();

    EXPECT_EQ(control<QLabel>("titleLabel").text().toStdString(), "Ctrl+Alt+Super+Shift");
    EXPECT_EQ(stored("hyperFlags"), 0x1E0000);
    EXPECT_EQ(opening, "0.000 keymap kb (empty)\n");
    for (const auto* hidden : {"changeMenuBarIconCheckbox", "hapticFeedbackCheckbox", "winKeyRemapCheckbox",
                               "checkForUpdatesAutomaticallyCheckbox"}) {
        EXPECT_TRUE(checkbox(hidden).isHidden()) << hidden;
    }
    EXPECT_TRUE(control<QWidget>("wakeRelaunchStackView").isHidden());
    EXPECT_TRUE(control<QPushButton>("checkForUpdatesButton").isHidden());
    EXPECT_EQ(popUp("physicalKeySelect").currentData().toLongLong(), 57);
    EXPECT_EQ(popUp("capsLockRemapSelect").currentText().toStdString(), "esc");
    EXPECT_EQ(popUp("quickPressKeySelect").currentData().toLongLong(), 0);
    EXPECT_TRUE(shows("physicalKeyImage", "capslockTemplate"));
    EXPECT_TRUE(shows("trackpadGestureImageView", "hyperSlideTopRightTemplate"));
    EXPECT_EQ(control<QPushButton>("versionButton").text().toStdString(), "v1.0 (1)");

    window->show();
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
}

TEST_F(PrefsViewControllerTest, OddStoredValuesSelectNothingAndKeepCapsLockOff)
{
    platform().userDefaults.setInteger("keyRemap", 1);
    platform().userDefaults.setInteger("physicalKeycode", 4);
    platform().userDefaults.setInteger("capsLockRemapped", 1);
    platform().userDefaults.setInteger("capsLockKeycode", 1000);
    platform().userDefaults.setInteger("quickHyperKeycode", 999);
    platform().userDefaults.setInteger("gestures", 3);
    open();

    for (const auto* select :
         {"physicalKeySelect", "capsLockRemapSelect", "quickPressKeySelect", "trackpadGestureSelect"}) {
        EXPECT_EQ(popUp(select).currentIndex(), -1) << select;
    }
    EXPECT_TRUE(shows("physicalKeyImage", "capslockTemplate"));
    EXPECT_TRUE(shows("trackpadGestureImageView", "hyperSlideDownTemplate"));
    EXPECT_FALSE(checkbox("capsLockRemapCheckbox").isEnabled());
    EXPECT_FALSE(checkbox("capsLockRemapCheckbox").isChecked());
    EXPECT_EQ(stored("capsLockRemapped"), 2);
}

TEST_F(PrefsViewControllerTest, KeyRemapOnCapsLockTakesCapsLockRemapAwayUntilAnotherKey)
{
    platform().userDefaults.setInteger("capsLockRemapped", 1);
    open();
    EXPECT_TRUE(checkbox("capsLockRemapCheckbox").isChecked());

    click("keyRemapCheckbox");
    EXPECT_EQ(stored("keyRemap"), 1);
    EXPECT_EQ(stored("capsLockRemapped"), 2);
    EXPECT_FALSE(checkbox("capsLockRemapCheckbox").isEnabled());
    EXPECT_FALSE(checkbox("capsLockRemapCheckbox").isChecked());
    // The rule applies the key mapping, and the action once more after the listener.
    EXPECT_EQ(transcript({"keymap"}), "0.000 keymap kb 0x700000039->0x700000039\n"
                                      "0.000 keymap kb 0x700000039->0x7000000e3\n"
                                      "0.000 keymap kb 0x700000039->0x700000039\n"
                                      "0.000 keymap kb 0x700000039->0x7000000e3\n");

    desktop_.transcript().clear();
    choose("physicalKeySelect", 0x3E);
    EXPECT_EQ(stored("physicalKeycode"), 0x3E);
    EXPECT_TRUE(checkbox("capsLockRemapCheckbox").isEnabled());
    EXPECT_FALSE(checkbox("capsLockRemapCheckbox").isChecked());
    EXPECT_TRUE(shows("physicalKeyImage", "functionKeyTemplate"));
    EXPECT_EQ(transcript({"keymap"}), "0.000 keymap kb 0x700000039->0x700000039\n"
                                      "0.000 keymap kb 0x70000003e->0x7000000e3\n");
}

// Shift switched off leaves the three other modifiers, in the title and in the engine at once.
// Settings that the engine reads when it needs them are only stored.
TEST_F(PrefsViewControllerTest, EachActionWritesItsSettingThenTellsTheEngineOfThoseItFollows)
{
    open();
    for (const auto* outlet : {"includeShiftCheckbox", "clickEventsCheckbox", "dragEventsCheckbox",
                               "moveEventsCheckbox", "scrollEventsCheckbox", "hideMenuBarIconCheckbox",
                               "launchOnLoginCheckbox", "quickPressCheckbox", "capsLockRemapCheckbox"}) {
        click(outlet);
    }
    choose("capsLockRemapSelect", -1);

    EXPECT_EQ(control<QLabel>("titleLabel").text().toStdString(), "Ctrl+Alt+Super");
    EXPECT_EQ(stored("hyperFlags"), 0x1C0000);
    EXPECT_EQ(shared->hyperFlags().flags(), 0x1C0000u);
    EXPECT_EQ(stored("applyToClick"), 2);
    EXPECT_EQ(stored("applyToDrag"), 1);
    EXPECT_EQ(stored("applyToMove"), 1);
    EXPECT_EQ(stored("applyToScroll"), 1);
    EXPECT_EQ(stored("executeQuickHyperKey"), 1);
    EXPECT_EQ(stored("capsLockRemapped"), 1);
    EXPECT_EQ(std::get<bool>(desktop_.defaults().at("hideMenuBarIcon")), true);
    EXPECT_EQ(std::get<bool>(desktop_.defaults().at("launchOnLogin")), true);
    EXPECT_EQ(stored("capsLockKeycode"), -1);
    EXPECT_EQ(transcript({"notify", "status", "loginitem", "keymap"}),
              "0.000 notify updateEventMask\n"
              "0.000 notify updateEventMask\n"
              "0.000 notify updateEventMask\n"
              "0.000 notify updateEventMask\n"
              "0.000 status hidden\n"
              "0.000 loginitem com.marrowind.VeltraneLauncher off\n"
              "0.000 loginitem com.marrowind.VeltraneLauncher on\n"
              "0.000 keymap kb (empty)\n"  // the quick press
              "0.000 keymap kb (empty)\n"  // caps lock remap on, to escape
              "0.000 keymap kb 0x700000039->0x700000029\n"
              "0.000 keymap kb 0x700000039->0x700000039\n"  // to no key at all
              "0.000 keymap kb 0x700000039->0x700000000\n");

    choose("quickPressKeySelect", 53);
    choose("trackpadGestureSelect", 1);
    click("trackpadCheckbox");
    desktop_.transcript().clear();
    click("hapticFeedbackCheckbox");
    click("changeMenuBarIconCheckbox");
    click("wakeRelaunchCheckbox");

    EXPECT_EQ(stored("quickHyperKeycode"), 53);
    EXPECT_EQ(stored("gestures"), 1);
    EXPECT_EQ(stored("hapticFeedback"), 1);
    EXPECT_EQ(stored("changeMenuBarIcon"), 1);
    EXPECT_EQ(stored("autoRestartOnWake"), 1);
    EXPECT_TRUE(shows("trackpadGestureImageView", "hyperSlideTopLeftTemplate"));
    EXPECT_EQ(transcript(), "");
}

class TrackpadRuleTest : public PrefsViewControllerTest, public ::testing::WithParamInterface<bool> {};

TEST_P(TrackpadRuleTest, TheTriggerShowsItsOptionsAndTellsTheTouchSource)
{
    platform().userDefaults.setBool("usePrivateFramework", GetParam());
    open();
    click("trackpadCheckbox");
    EXPECT_EQ(stored("oneSwipeFromTop"), 1);
    for (const auto* shown :
         {"changeMenuBarIconCheckbox", "hapticFeedbackCheckbox", "wakeRelaunchStackView"}) {
        EXPECT_FALSE(control<QWidget>(shown).isHidden()) << shown;
    }
    click("trackpadCheckbox");
    EXPECT_TRUE(control<QWidget>("wakeRelaunchStackView").isHidden());
    EXPECT_EQ(transcript({"notify"}), GetParam() ? "0.000 notify startDeviceListener\n"
                                                 : "0.000 notify updateEventMask\n"
                                                   "0.000 notify updateEventMask\n");
}

INSTANTIATE_TEST_SUITE_P(TouchSources, TrackpadRuleTest, ::testing::Bool());

TEST_F(PrefsViewControllerTest, SynchroniseShowsAnOutsideChangeWithoutWritingAnything)
{
    open();
    onMain([this] {
        shared->defaults().winRemap().setEnabled(true);
        shared->defaults().oneSwipeFromTop().setEnabled(true);
        shared->defaults().gestures().setValue(8);
        shared->defaults().keyRemap().setEnabled(true);
        actions->settingChanged("keyRemap");
    });
    desktop_.transcript().clear();
    onMain([this] { window->synchronise(); });

    EXPECT_TRUE(checkbox("winKeyRemapCheckbox").isChecked());
    EXPECT_FALSE(checkbox("winKeyRemapCheckbox").isHidden());
    EXPECT_TRUE(checkbox("keyRemapCheckbox").isChecked());
    EXPECT_FALSE(checkbox("capsLockRemapCheckbox").isEnabled());
    EXPECT_TRUE(checkbox("trackpadCheckbox").isChecked());
    EXPECT_FALSE(checkbox("hapticFeedbackCheckbox").isHidden());
    EXPECT_EQ(popUp("trackpadGestureSelect").currentData().toLongLong(), 8);
    // Where no pulse can be felt, haptic feedback is not offered.
    desktop_.setHaptics(false);
    onMain([this] { window->synchronise(); });
    EXPECT_TRUE(checkbox("hapticFeedbackCheckbox").isHidden());
    EXPECT_TRUE(shows("trackpadGestureImageView", "hyperSlideBottomRightTemplate"));
    EXPECT_EQ(transcript(), "");
}

}  // namespace
}  // namespace veltrane::gui
