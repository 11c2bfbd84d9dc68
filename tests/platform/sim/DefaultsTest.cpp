#include <gtest/gtest.h>

#include "platform/sim/DefaultsValue.h"
#include "platform/sim/SimUserDefaults.h"

#include <cmath>
#include <limits>

namespace veltrane::sim {
namespace {

TEST(DefaultsValueTest, AbsentKeysReadAsNothing)
{
    DefaultsDomain domain;
    const SimUserDefaults defaults(domain);

    EXPECT_FALSE(defaults.boolForKey("keyRemap"));
    EXPECT_EQ(defaults.integerForKey("physicalKeycode"), 0);
    EXPECT_EQ(defaults.floatForKey("quickPressTimeout"), 0.0f);
    EXPECT_EQ(defaults.stringForKey("lastVersion"), std::nullopt);
}

TEST(DefaultsValueTest, ValuesOfAnotherTypeReadAsThePropertyListStoreConvertsThem)
{
    EXPECT_TRUE(readBool(DefaultsValue{std::int64_t{2}}));
    EXPECT_FALSE(readBool(DefaultsValue{0.0}));
    EXPECT_TRUE(readBool(DefaultsValue{std::string("YES")}));
    EXPECT_FALSE(readBool(DefaultsValue{std::string("no")}));

    EXPECT_EQ(readInteger(DefaultsValue{true}), 1);
    EXPECT_EQ(readInteger(DefaultsValue{-2.9}), -2);
    EXPECT_EQ(readInteger(DefaultsValue{std::nan("")}), 0);
    EXPECT_EQ(readInteger(DefaultsValue{1e300}), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(readInteger(DefaultsValue{std::string("57 keys")}), 57);
    EXPECT_EQ(readInteger(DefaultsValue{std::string("caps")}), 0);

    EXPECT_EQ(readFloat(DefaultsValue{std::int64_t{3}}), 3.0f);
    EXPECT_TRUE(std::isnan(readFloat(DefaultsValue{std::nan("")})));

    EXPECT_EQ(readString(DefaultsValue{std::int64_t{1}}), std::nullopt);
    EXPECT_EQ(readString(DefaultsValue{std::string("[]")}), "[]");
}

TEST(DefaultsValueTest, AProcessSeesTheDomainAsItStoodAtItsStartAndWritesThrough)
{
    DefaultsDomain domain{{"keyRemap", true}};
    SimUserDefaults defaults(domain);

    domain["keyRemap"] = false;
    domain["hyperFlags"] = std::int64_t{0x1C0000};
    EXPECT_TRUE(defaults.boolForKey("keyRemap"));
    EXPECT_EQ(defaults.integerForKey("hyperFlags"), 0);

    defaults.setFloat("quickPressTimeout", 0.5f);
    defaults.setString("lastVersion", std::nullopt);
    defaults.setString("disabledApps", "[\"com.apple.Mail\"]");
    EXPECT_EQ(defaults.floatForKey("quickPressTimeout"), 0.5f);
    EXPECT_EQ(SimUserDefaults(domain).floatForKey("quickPressTimeout"), 0.5f);
    EXPECT_EQ(SimUserDefaults(domain).stringForKey("disabledApps"), "[\"com.apple.Mail\"]");

    defaults.setString("disabledApps", std::nullopt);
    EXPECT_FALSE(domain.contains("disabledApps"));
    EXPECT_EQ(defaults.stringForKey("disabledApps"), std::nullopt);
}

}  // namespace
}  // namespace veltrane::sim
