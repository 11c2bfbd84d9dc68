#include "core/Defaults.h"
#include "platform/sim/SimUserDefaults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

namespace veltrane {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    platform::DefaultsDomain domain;
    sim::SimUserDefaults store{domain};
};

TEST_F(SettingsTest, AFreshStoreGivesTheDeclaredDefaults)
{
    Defaults defaults(store);

    EXPECT_EQ(defaults.physicalKeycode().value(), 57);
    EXPECT_EQ(defaults.capsLockKeycode().value(), 41);
    EXPECT_EQ(defaults.keyboardConnectionDelay().value(), 1);
    EXPECT_EQ(defaults.gestures().value(), 2);
    EXPECT_EQ(defaults.quickPressTimeout().value(), 1.0f);
    EXPECT_EQ(defaults.oneTopTriggerThreshold().value(), 12.0f);
    EXPECT_EQ(defaults.oneTopCursorFreezeThreshold().value(), 30.0f);
    EXPECT_EQ(defaults.cornerMaxXYDiff().value(), 35.0f);
    EXPECT_EQ(defaults.cornerTriggerThreshold().value(), 80.0f);
    EXPECT_EQ(defaults.cornerFreezeThreshold().value(), 85.0f);
    EXPECT_EQ(defaults.cornerStartMin().value(), 40.0f);
    EXPECT_EQ(defaults.cornerStartMax().value(), 60.0f);
    EXPECT_EQ(defaults.hyperFlags().value(), 0);
    EXPECT_EQ(defaults.restartOnWakeDelay().value(), 0.0f);
    EXPECT_FALSE(defaults.usePrivateFramework().enabled());
    EXPECT_EQ(defaults.lastVersion().value(), std::nullopt);
    EXPECT_EQ(defaults.keyRemap().enabled(), std::nullopt);
    // Readers that take unset as on, and those that take it as off.
    EXPECT_FALSE(defaults.applyToClick().isOff());
    EXPECT_FALSE(defaults.hyperAsCapsLockDisables().isOff());
    EXPECT_FALSE(defaults.applyToDrag().isOn());
    EXPECT_TRUE(domain.empty());
}

TEST_F(SettingsTest, AWrittenZeroStaysZeroUntilTheNextLaunch)
{
    Defaults running(store);
    running.physicalKeycode().setValue(0);
    running.quickPressTimeout().setValue(0.0f);
    EXPECT_EQ(running.physicalKeycode().value(), 0);
    EXPECT_EQ(std::get<std::int64_t>(domain.at("physicalKeycode")), 0);

    sim::SimUserDefaults relaunchedStore(domain);
    Defaults relaunched(relaunchedStore);
    EXPECT_EQ(relaunched.physicalKeycode().value(), 57);
    EXPECT_EQ(relaunched.quickPressTimeout().value(), 1.0f);
}

TEST_F(SettingsTest, OptionalBoolsStoreZeroOneOrTwoAndReadOtherNumbersAsUnset)
{
    domain["keyRemap"] = std::int64_t{3};
    domain["winRemap"] = std::int64_t{-1};
    domain["applyToMove"] = std::int64_t{2};
    sim::SimUserDefaults launched(domain);
    Defaults defaults(launched);

    EXPECT_EQ(defaults.keyRemap().enabled(), std::nullopt);
    EXPECT_EQ(defaults.winRemap().enabled(), std::nullopt);
    EXPECT_EQ(defaults.applyToMove().enabled(), false);

    defaults.keyRemap().setEnabled(true);
    defaults.winRemap().setEnabled(std::nullopt);
    defaults.applyToMove().setEnabled(false);
    EXPECT_EQ(std::get<std::int64_t>(domain.at("keyRemap")), 1);
    EXPECT_EQ(std::get<std::int64_t>(domain.at("winRemap")), 0);
    EXPECT_EQ(std::get<std::int64_t>(domain.at("applyToMove")), 2);
}

TEST_F(SettingsTest, ValuesOfTheWrongTypeReadAsTheTypedReaderGivesThem)
{
    domain["physicalKeycode"] = std::string("231");
    domain["keyRemap"] = true;
    domain["quickPressTimeout"] = std::nan("");
    domain["lastVersion"] = std::int64_t{7};
    domain["hideMenuBarIcon"] = std::string("YES");
    sim::SimUserDefaults launched(domain);
    Defaults defaults(launched);

    EXPECT_EQ(defaults.physicalKeycode().value(), 231);
    EXPECT_EQ(defaults.keyRemap().enabled(), true);
    EXPECT_TRUE(std::isnan(defaults.quickPressTimeout().value()));
    EXPECT_EQ(defaults.lastVersion().value(), std::nullopt);
    EXPECT_TRUE(defaults.hideMenuBarIcon().enabled());
}

TEST_F(SettingsTest, TextsAreRemovedWhenWrittenUnsetAndObjectsAreMadeOnceAcrossThreads)
{
    Defaults defaults(store);
    defaults.lastVersion().setValue("100");
    EXPECT_EQ(std::get<std::string>(domain.at("lastVersion")), "100");
    defaults.lastVersion().setValue(std::nullopt);
    EXPECT_FALSE(domain.contains("lastVersion"));

    IntDefault* seen[2] = {};
    std::thread other([&] { seen[0] = &defaults.touchListenerDelay(); });
    seen[1] = &defaults.touchListenerDelay();
    other.join();
    EXPECT_EQ(seen[0], seen[1]);
}

}  // namespace
}  // namespace veltrane
