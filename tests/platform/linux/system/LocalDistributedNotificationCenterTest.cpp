#include "platform/linux/system/LocalDistributedNotificationCenter.h"
#include "platform/threads/MainLoop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

// Runs what the main queue holds now, then returns.
void drain(threads::MainLoop& mainLoop)
{
    mainLoop.async([&] { mainLoop.quit(); });
    mainLoop.run();
}

TEST(LocalDistributedNotificationCenter, DeliversOnTheMainQueueAfterThePost)
{
    threads::MainLoop mainLoop;
    LocalDistributedNotificationCenter center(mainLoop);
    std::vector<std::optional<std::string>> heard;
    bool onMainQueue = false;
    center.observe("ping", std::nullopt, [&](const std::optional<std::string>& object) {
        heard.push_back(object);
        onMainQueue = mainLoop.isCurrent();
    });

    center.post("ping", "com.example.one");
    EXPECT_TRUE(heard.empty());
    drain(mainLoop);

    EXPECT_EQ(heard, (std::vector<std::optional<std::string>>{"com.example.one"}));
    EXPECT_TRUE(onMainQueue);
}

TEST(LocalDistributedNotificationCenter, AnObserverThatGaveAnObjectHearsOnlyThatObject)
{
    threads::MainLoop mainLoop;
    LocalDistributedNotificationCenter center(mainLoop);
    std::vector<std::string> heard;
    const auto record = [&](const std::string& who) {
        return [&, who](const std::optional<std::string>& object) {
            heard.push_back(who + " " + object.value_or("-"));
        };
    };
    center.observe("ping", "a", record("ping/a"));
    center.observe("ping", std::nullopt, record("ping/any"));
    center.observe("pong", std::nullopt, record("pong/any"));

    center.post("ping", "a");
    center.post("ping", "b");
    center.post("ping", std::nullopt);
    drain(mainLoop);

    EXPECT_EQ(heard, (std::vector<std::string>{"ping/a a", "ping/any a", "ping/any b", "ping/any -"}));
}

}  // namespace
}  // namespace veltrane::linuxbackend
