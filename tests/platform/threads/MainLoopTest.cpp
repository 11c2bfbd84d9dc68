#include "platform/threads/MainLoop.h"

#include <gtest/gtest.h>

#include <vector>

namespace veltrane::threads {
namespace {

TEST(MainLoopTest, RunsOnTheCallingThreadUntilQuitAndKeepsTheRestForTheNextRun)
{
    MainLoop loop;
    std::vector<int> ran;
    loop.async([&] {
        EXPECT_TRUE(loop.isCurrent());
        ran.push_back(1);
        loop.quit();
    });
    loop.async([&] { ran.push_back(2); });
    loop.run();
    EXPECT_EQ(ran, std::vector<int>{1});
    EXPECT_FALSE(loop.isCurrent());

    loop.async([&] { loop.quit(); });
    loop.run();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace veltrane::threads
