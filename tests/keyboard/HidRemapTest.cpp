#include "SimTest.h"

#include "keyboard/KeyRemap.h"

namespace veltrane {
namespace {

class HidRemapTest : public testing::SimTest {
protected:
    HidRemapTest()
    {
        desktop_.hid().connect("kb1", {});
        desktop_.hid().connect("kb2", {});
    }
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

TEST_F(HidRemapTest, ResetAllWritesEvenAnEmptyListAndResettingAnUnmappedKeyWritesNothing)
{
    onMain([&] {
        hidRemap.resetAll();
        hidRemap.resetMapping(0x39);
    });

    EXPECT_EQ(keymaps(), "0.000 keymap kb1 (empty)\n0.000 keymap kb2 (empty)\n");
}

TEST_F(HidRemapTest, RemappingCapsLockAgainWritesTheResetThenTheNewPair)
{
    onMain([&] {
        KeyRemap::remapCapsLock(hidRemap, 42);
        KeyRemap::remapCapsLock(hidRemap, 41);
    });

    EXPECT_EQ(keymaps(), "0.000 keymap kb1 0x700000039->0x70000002a\n"
                         "0.000 keymap kb2 0x700000039->0x70000002a\n"
                         "0.000 keymap kb1 0x700000039->0x700000039\n"
                         "0.000 keymap kb2 0x700000039->0x700000039\n"
                         "0.000 keymap kb1 0x700000039->0x700000029\n"
                         "0.000 keymap kb2 0x700000039->0x700000029\n");
    EXPECT_TRUE(hidRemap.isRemapped(0x39));
    // What a keyboard connected now receives: only the current pair.
    onMain([&] { hidRemap.remap(); });
    EXPECT_EQ(desktop_.transcript().lines().back().text, "kb2 0x700000039->0x700000029");
}

TEST_F(HidRemapTest, TheCapsLockChoicesOfThePreferences)
{
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

    EXPECT_EQ(transcript({"keymap"}),
              "0.000 keymap kb1 (empty)\n0.000 keymap kb2 (empty)\n"
              "0.000 keymap kb1 0x700000039->0x700000000\n0.000 keymap kb2 0x700000039->0x700000000\n"
              "0.000 keymap kb1 0x700000039->0x700000039\n0.000 keymap kb2 0x700000039->0x700000039\n"
              "0.000 keymap kb1 (empty)\n0.000 keymap kb2 (empty)\n"
              "0.000 keymap kb1 (empty)\n0.000 keymap kb2 (empty)\n"
              "0.000 keymap kb1 0x700000039->0x700000000\n0.000 keymap kb2 0x700000039->0x700000000\n");
}

TEST_F(HidRemapTest, AStoredZeroDestinationReadsAsEscape)
{
    set("capsLockRemapped", 1);
    set("capsLockKeycode", 0);
    applyKeyMapping();

    EXPECT_EQ(transcript({"keymap"}),
              "0.000 keymap kb1 (empty)\n0.000 keymap kb2 (empty)\n"
              "0.000 keymap kb1 0x700000039->0x700000029\n0.000 keymap kb2 0x700000039->0x700000029\n");
}

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

    EXPECT_EQ(transcript({"keymap"}),
              "0.000 keymap kb1 (empty)\n0.000 keymap kb2 (empty)\n"
              "0.000 keymap kb1 0x700000039->0x7000000e3\n0.000 keymap kb2 0x700000039->0x7000000e3\n"
              "0.000 keymap kb1 0x700000039->0x700000039\n0.000 keymap kb2 0x700000039->0x700000039\n"
              "0.000 keymap kb1 0x700000039->0x700000029\n0.000 keymap kb2 0x700000039->0x700000029\n"
              "0.000 keymap kb1 0x700000039->0x700000039\n0.000 keymap kb2 0x700000039->0x700000039\n"
              "0.000 keymap kb1 0x700000068->0x7000000e3\n0.000 keymap kb2 0x700000068->0x7000000e3\n"
              "0.000 keymap kb1 0x700000068->0x7000000e3 0x700000039->0x700000029\n"
              "0.000 keymap kb2 0x700000068->0x7000000e3 0x700000039->0x700000029\n"
              "0.000 keymap kb1 0x700000068->0x700000068 0x700000039->0x700000039\n"
              "0.000 keymap kb2 0x700000068->0x700000068 0x700000039->0x700000039\n");
    EXPECT_TRUE(hidRemap.isEmpty());
}

TEST_F(HidRemapTest, WithoutAServiceListTheIdentitiesWaitAndRefusalsAreLogged)
{
    captureLogs();
    onMain([&] { hidRemap.addMapping(0x39, 0x29); });
    desktop_.faults().noServices = true;
    desktop_.faults().refusingKeyboards.insert("kb1");
    onMain([&] { hidRemap.resetAll(); });
    EXPECT_TRUE(hidRemap.isRemapped(0x39));
    onMain([&] { hidRemap.remap(); });
    EXPECT_FALSE(hidRemap.isRemapped(0x39));

    EXPECT_EQ(transcript({"keymap", "log"}),
              "0.000 log info Key mapping: [{HIDKeyboardModifierMappingSrc: 30064771129, "
              "HIDKeyboardModifierMappingDst: 30064771113}]\n"
              "0.000 keymap kb1 0x700000039->0x700000029\n"
              "0.000 keymap kb2 0x700000039->0x700000029\n"
              "0.000 log info Key mapping: [{HIDKeyboardModifierMappingSrc: 30064771129, "
              "HIDKeyboardModifierMappingDst: 30064771129}]\n"
              "0.000 keymap kb1 refused\n"
              "0.000 log info Unable to set keyboard mapping\n"
              "0.000 keymap kb2 0x700000039->0x700000039\n");
}

TEST_F(HidRemapTest, AnEmptyServiceListStillLogsAndDropsTheIdentities)
{
    captureLogs();
    desktop_.hid().unplug("kb1");
    desktop_.hid().unplug("kb2");
    onMain([&] {
        hidRemap.addMapping(0x39, 0x29);
        hidRemap.resetAll();
    });

    EXPECT_TRUE(hidRemap.isEmpty());
    EXPECT_EQ(transcript({"keymap"}), "");
    EXPECT_EQ(
        desktop_.transcript().lines().back().text,
        "info Key mapping: [{HIDKeyboardModifierMappingSrc: 30064771129, HIDKeyboardModifierMappingDst: "
        "30064771129}]");
}

}  // namespace
}  // namespace veltrane
