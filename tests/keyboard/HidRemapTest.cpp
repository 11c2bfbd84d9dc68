#include "SimTest.h"

#include "keyboard/KeyRemap.h"

namespace veltrane {
namespace {

// Every keyboard gets each write (the scenarios show it with several); one keyboard suffices here.
class HidRemapTest : public testing::SimTest {
protected:
    HidRemapTest() { desktop_.hid().connect("kb", {}); }
    void set(const std::string& key, std::int64_t value) { platform().userDefaults.setInteger(key, value); }
    void applyKeyMapping()
    {
        onMain([&] {
            Defaults current(platform().userDefaults);
            KeyRemap::applyKeyMapping(hidRemap, current);
        });
    }
    std::string keymaps() { return transcript({"keymap"}); }

    Defaults defaults{platform().userDefaults};
    HidRemap hidRemap{platform(), defaults};
};

// The first remap resets caps lock while it is unmapped, which writes nothing, and the next writes
// the reset, then its pair; that a reset of everything writes even an empty list is the first
// line of the hyper key's test below. That a keyboard connected later receives only the current
// pair, not the identities written before, is in the keyboard-later and wake-and-sleep scenarios.
// A destination that is no key, beyond the keyboard page's usages, is also in the odd-settings
// scenario.
TEST_F(HidRemapTest, RemappingCapsLockAgainWritesTheResetThenTheNewPairAndTheCapsLockChoices)
{
    onMain([&] {
        KeyRemap::remapCapsLock(hidRemap, 42);
        KeyRemap::remapCapsLock(hidRemap, 41);
    });
    EXPECT_TRUE(hidRemap.isRemapped(0x39));
    // As the preferences change them: in memory, where a chosen 0 stays 0 for the run.
    const auto choose = [&](std::int64_t destination) {
        defaults.capsLockKeycode().setValue(destination);
        onMain([&] { KeyRemap::applyKeyMapping(hidRemap, defaults); });
    };
    defaults.capsLockRemapped().setEnabled(true);
    choose(-1);       // nothing at all
    choose(0);        // no remap
    choose(0x10000);  // no key: no remap either
    defaults.listenerRemap().setEnabled(true);
    choose(0x29);  // silenced here, sent by the listener
    // As the next launch reads them: a stored 0 is escape.
    set("listenerRemap", 2);
    set("capsLockKeycode", 0);
    applyKeyMapping();

    EXPECT_EQ(keymaps(), "0.000 keymap kb 0x700000039->0x70000002a\n"
                         "0.000 keymap kb 0x700000039->0x700000039\n"
                         "0.000 keymap kb 0x700000039->0x700000029\n"
                         "0.000 keymap kb 0x700000039->0x700000039\n"
                         "0.000 keymap kb 0x700000039->0x700000000\n"
                         "0.000 keymap kb 0x700000039->0x700000039\n"
                         "0.000 keymap kb (empty)\n"
                         "0.000 keymap kb (empty)\n"
                         "0.000 keymap kb 0x700000039->0x700000000\n"
                         "0.000 keymap kb 0x700000039->0x700000039\n"
                         "0.000 keymap kb 0x700000039->0x700000029\n");
}

// Caps lock, F13 and right Command as the hyper key alone are in the hyper-chord example and the
// other-hyper-keys scenario.
TEST_F(HidRemapTest, TheHyperKeyDecidesWhatIsMappedBeforeCapsLock)
{
    set("keyRemap", 1);
    set("capsLockRemapped", 1);
    applyKeyMapping();  // caps lock is the hyper key: it becomes left Command, its remap is ignored
    set("hyperAsCapsLockDisables", 2);
    applyKeyMapping();  // unless it may keep its own key: then the caps lock remap applies
    set("physicalKeycode", 0x68);
    applyKeyMapping();  // F13 becomes left Command, then caps lock goes to escape
    set("physicalKeycode", 0xE6);
    set("capsLockRemapped", 0);
    applyKeyMapping();  // right Option stays itself

    EXPECT_EQ(keymaps(), "0.000 keymap kb (empty)\n"
                         "0.000 keymap kb 0x700000039->0x7000000e3\n"
                         "0.000 keymap kb 0x700000039->0x700000039\n"
                         "0.000 keymap kb 0x700000039->0x700000029\n"
                         "0.000 keymap kb 0x700000039->0x700000039\n"
                         "0.000 keymap kb 0x700000068->0x7000000e3\n"
                         "0.000 keymap kb 0x700000068->0x7000000e3 0x700000039->0x700000029\n"
                         "0.000 keymap kb 0x700000068->0x700000068 0x700000039->0x700000039\n");
    EXPECT_TRUE(hidRemap.isEmpty());
}

TEST_F(HidRemapTest, WithoutAServiceListTheIdentitiesWaitAndRefusalsAreLoggedAndAnEmptyListDropsThem)
{
    desktop_.hid().connect("kb2", {});
    captureLogs();
    onMain([&] { hidRemap.addMapping(0x39, 0x29); });
    desktop_.faults().noServices = true;
    desktop_.faults().refusingKeyboards.insert("kb");
    onMain([&] { hidRemap.resetAll(); });
    EXPECT_TRUE(hidRemap.isRemapped(0x39));
    onMain([&] { hidRemap.remap(); });
    EXPECT_FALSE(hidRemap.isRemapped(0x39));
    // With no keyboard at all the service list is empty: the identities are logged and dropped.
    desktop_.faults().noServices = false;
    desktop_.hid().unplug("kb");
    desktop_.hid().unplug("kb2");
    onMain([&] {
        hidRemap.addMapping(0x39, 0x29);
        hidRemap.resetAll();
    });
    EXPECT_TRUE(hidRemap.isEmpty());

    EXPECT_EQ(transcript({"keymap", "log"}),
              "0.000 log info Key mapping: [{HIDKeyboardModifierMappingSrc: 30064771129, "
              "HIDKeyboardModifierMappingDst: 30064771113}]\n"
              "0.000 keymap kb 0x700000039->0x700000029\n"
              "0.000 keymap kb2 0x700000039->0x700000029\n"
              "0.000 log info Key mapping: [{HIDKeyboardModifierMappingSrc: 30064771129, "
              "HIDKeyboardModifierMappingDst: 30064771129}]\n"
              "0.000 keymap kb refused\n"
              "0.000 log info Unable to set keyboard mapping\n"
              "0.000 keymap kb2 0x700000039->0x700000039\n"
              "0.000 log info Key mapping: [{HIDKeyboardModifierMappingSrc: 30064771129, "
              "HIDKeyboardModifierMappingDst: 30064771113}]\n"
              "0.000 log info Key mapping: [{HIDKeyboardModifierMappingSrc: 30064771129, "
              "HIDKeyboardModifierMappingDst: 30064771129}]\n");
}

}  // namespace
}  // namespace veltrane
