#include "UserDefaultsContract.h"
#include "platform/sim/SimUserDefaults.h"

#include <gtest/gtest.h>

namespace veltrane::sim {

struct SimDefaultsHarness {
    std::unique_ptr<platform::UserDefaults> open() { return std::make_unique<SimUserDefaults>(domain); }

    platform::DefaultsDomain domain;
};

namespace {

// What other programs write while the process runs reaches it only at its next launch.
TEST(SimUserDefaultsTest, AProcessSeesTheDomainAsItStoodAtItsStart)
{
    platform::DefaultsDomain domain{{"keyRemap", true}};
    SimUserDefaults defaults(domain);

    domain["keyRemap"] = false;
    domain["hyperFlags"] = std::int64_t{0x1C0000};
    EXPECT_TRUE(defaults.boolForKey("keyRemap"));
    EXPECT_EQ(defaults.integerForKey("hyperFlags"), 0);
    EXPECT_FALSE(SimUserDefaults(domain).boolForKey("keyRemap"));
}

}  // namespace
}  // namespace veltrane::sim

namespace veltrane::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(Sim, UserDefaultsContract, sim::SimDefaultsHarness);
}  // namespace veltrane::contracts
