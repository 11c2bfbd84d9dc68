#include "platform/linux/system/LocalDistributedNotificationCenter.h"
#include "platform/threads/MainLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

// Nothing is heard before the main queue runs; an observer that gave an object hears only that
// object.
TEST(LocalDistributedNotificationCenter, DeliversOnTheMainQueueAfterThePostToTheObserversOfNameAndObject)
{
    threads::MainLoop mainLoop;
    LocalDistributedNotificationCenter center(mainLoop);
    std::vector<std::string> heard;
    const auto record = [&](const std::string& who) {
        return [&, who](const std::optional<std::string>& object) {
            heard.push_back(who + " " + object.value_or("-") + (mainLoop.isCurrent() ? "" : " (elsewhere)"));
        };
    };
    center.observe("ping", "a", record("ping/a"));
    center.observe("ping", std::nullopt, record("ping/any"));
    center.observe("pong", std::nullopt, record("pong/any"));

    center.post("ping", "a");
    center.post("ping", "b");
    center.post("ping", std::nullopt);
    EXPECT_TRUE(heard.empty());
    mainLoop.async([&] { mainLoop.quit(); });
    mainLoop.run();

    EXPECT_EQ(heard, (std::vector<std::string>{"ping/a a", "ping/any a", "ping/any b", "ping/any -"}));
}

}  // namespace
}  // namespace veltrane::linuxbackend
