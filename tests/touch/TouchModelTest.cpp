#include "touch/StringIdCache.h"
#include "touch/TouchSet.h"

#include <gtest/gtest.h>

#include <iterator>
#include <limits>
#include <string>

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
    again.stringId = StringId("other");
    again.velocity = TouchPoint{1.0f, 1.0f};
    EXPECT_FALSE(set.insert(again));
    EXPECT_TRUE(set.insert(touchAt(1, 0.5f, 0.5f, 2)));
    EXPECT_EQ(set.size(), 3u);

    // A NaN coordinate is never equal to anything, not even to the same touch.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(set.insert(touchAt(2, nan, 0.5f)));
    EXPECT_TRUE(set.insert(touchAt(2, nan, 0.5f)));
    EXPECT_EQ(set.size(), 5u);

    // A crowd, more than a frame holds in place, keeps its order.
    for (int id = 10; id < 40; ++id) {
        EXPECT_TRUE(set.insert(touchAt(id, 0.5f, 0.5f)));
    }
    EXPECT_FALSE(set.insert(touchAt(30, 0.5f, 0.5f)));
    EXPECT_EQ(set.size(), 35u);
    EXPECT_EQ(std::prev(set.end())->id, 39);
    EXPECT_EQ(set.begin()->pos, (TouchPoint{0.5f, 0.5f}));
}

TEST(TouchModelTest, TheStringIdAddsTheShortestExactBeginTime)
{
    EXPECT_EQ(Touch::makeStringId(-7, 0.1), "-7:0.1");
    EXPECT_EQ(Touch::makeStringId(11, 1.0 / 3.0), "11:0.3333333333333333");
    EXPECT_EQ(Touch::makeStringId(std::numeric_limits<std::int64_t>::min(), -1.7976931348623157e308),
              "-9223372036854775808:-1.7976931348623157e+308");

    // Kept by the trackers: a path used again begins at another time, and an id not seen for a
    // while is written out again.
    StringIdCache cache;
    EXPECT_EQ(cache.of(3, 12.5), "3:12.5");
    EXPECT_EQ(cache.of(3, 14.25), "3:14.25");
    EXPECT_EQ(cache.of(3, std::nullopt), "3");
    for (int id = 100; id < 200; ++id) {
        EXPECT_EQ(cache.of(id, 1.5), std::to_string(id) + ":1.5");
    }
    EXPECT_EQ(cache.of(3, 12.5), "3:12.5");
}

}  // namespace
}  // namespace veltrane
