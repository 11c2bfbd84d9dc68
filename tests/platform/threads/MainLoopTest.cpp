#include "platform/threads/MainLoop.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
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

TEST(MainLoopTest, OutlivesAFaultyTaskAndHandsASyncFailureToTheCaller)
{
    MainLoop loop;
    std::thread runner([&] { loop.run(); });
    loop.async([] { throw std::runtime_error("async"); });
    EXPECT_THROW(loop.sync([] { throw std::logic_error("sync"); }), std::logic_error);
    bool ranAfter = false;
    loop.sync([&] { ranAfter = true; });
    loop.quit();
    runner.join();
    EXPECT_TRUE(ranAfter);
}

}  // namespace
}  // namespace veltrane::threads
