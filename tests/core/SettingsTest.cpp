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

// A process reads the domain as it stood at its start, with its own writes, which go through at
// once: what another program writes reaches it only at its next launch, as does a zero it wrote,
// which then reads as the declared default. A text written unset is removed, and each setting
// object is made once, whichever thread asks first.
TEST_F(SettingsTest, AProcessReadsTheDomainAsAtItsStartWithItsOwnWritesUntilTheNextLaunch)
{
    Defaults running(store);
    running.physicalKeycode().setValue(0);
    running.quickPressTimeout().setValue(0.0f);
    running.gestures().setValue(8);
    domain["gestures"] = std::int64_t{4};
    domain["hyperFlags"] = std::int64_t{0x1C0000};
    EXPECT_EQ(std::get<std::int64_t>(domain.at("physicalKeycode")), 0);
    EXPECT_EQ(store.integerForKey("physicalKeycode"), 0);
    EXPECT_EQ(store.integerForKey("gestures"), 8);
    EXPECT_EQ(store.integerForKey("hyperFlags"), 0);
    running.lastVersion().setValue("100");
    EXPECT_EQ(std::get<std::string>(domain.at("lastVersion")), "100");
    running.lastVersion().setValue(std::nullopt);
    EXPECT_FALSE(domain.contains("lastVersion"));
    IntDefault* seen[2] = {};
    std::thread other([&] { seen[0] = &running.touchListenerDelay(); });
    seen[1] = &running.touchListenerDelay();
    other.join();
    EXPECT_EQ(seen[0], seen[1]);

    sim::SimUserDefaults relaunchedStore(domain);
    Defaults relaunched(relaunchedStore);
    EXPECT_EQ(relaunched.physicalKeycode().value(), 57);
    EXPECT_EQ(relaunched.quickPressTimeout().value(), 1.0f);
    EXPECT_EQ(relaunched.gestures().value(), 4);
    EXPECT_EQ(relaunched.hyperFlags().value(), 0x1C0000);
}

// How a store converts a value of another type is the user defaults contract's, and a boolean read
// as a switch is in the hyper-chord example. A float that is no number is no zero: it keeps no
// declared default; an integer is no text; an optional bool reads numbers other than 1 and 2 as unset.
TEST_F(SettingsTest, OddStoredValuesReadAsTheTypedReaderGivesThemAndOptionalBoolsStoreZeroOneOrTwo)
{
    domain["quickPressTimeout"] = std::nan("");
    domain["lastVersion"] = std::int64_t{7};
    domain["keyRemap"] = std::int64_t{3};
    domain["winRemap"] = std::int64_t{-1};
    domain["applyToMove"] = std::int64_t{2};
    sim::SimUserDefaults launched(domain);
    Defaults defaults(launched);

    EXPECT_TRUE(std::isnan(defaults.quickPressTimeout().value()));
    EXPECT_EQ(defaults.lastVersion().value(), std::nullopt);
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

}  // namespace
}  // namespace veltrane
