#include "touch/TouchSet.h"

#include <gtest/gtest.h>

#include <limits>

namespace veltrane {
namespace {

Touch touchAt(std::int64_t id, float x, float y, std::int64_t phase = 1)
{
    Touch touch;
    touch.id = id;
    touch.pos = {x, y};
    touch.phase = phase;
    touch.deviceWidth = 400.0f;
    touch.deviceHeight = 300.0f;
    return touch;
}

TEST(TouchModelTest, TheSetKeepsTouchesThatDifferAndCollapsesEqualOnes)
{
    TouchSet set;
    EXPECT_TRUE(set.insert(touchAt(1, 0.5f, 0.5f)));
    EXPECT_TRUE(set.insert(touchAt(1, 0.6f, 0.5f)));
    Touch again = touchAt(1, 0.5f, 0.5f);
    again.rawPhase = 8;
    again.stringId = "other";
    again.velocity = TouchPoint{1.0f, 1.0f};
    EXPECT_FALSE(set.insert(again));
    EXPECT_TRUE(set.insert(touchAt(1, 0.5f, 0.5f, 2)));
    EXPECT_EQ(set.size(), 3u);

    // A NaN coordinate is never equal to anything, not even to the same touch.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(set.insert(touchAt(2, nan, 0.5f)));
    EXPECT_TRUE(set.insert(touchAt(2, nan, 0.5f)));
    EXPECT_EQ(set.size(), 5u);
}

TEST(TouchModelTest, TheStringIdAddsTheShortestExactBeginTime)
{
    EXPECT_EQ(Touch::makeStringId(3, 12.5), "3:12.5");
    EXPECT_EQ(Touch::makeStringId(3, std::nullopt), "3");
    EXPECT_EQ(Touch::makeStringId(-7, 0.1), "-7:0.1");
    EXPECT_EQ(Touch::makeStringId(11, 1.0 / 3.0), "11:0.3333333333333333");
    EXPECT_EQ(Touch::makeStringId(std::numeric_limits<std::int64_t>::min(), -1.7976931348623157e308),
              "-9223372036854775808:-1.7976931348623157e+308");
}

}  // namespace
}  // namespace veltrane
