#include "platform/LocalDistributedNotificationCenter.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/threads/MainLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <latch>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::platform {
namespace {

using namespace std::chrono_literals;

// Within a post a handler may post, observe and remove observers, itself included, without
// waiting for itself; an observer it removes is not called, one of another name never is.
TEST(LocalNotificationCenter, RunsTheObserversOfTheNameOnThePostingThreadInOrderAndLetsThemChangeThem)
{
    LocalNotificationCenter center;
    std::vector<std::string> heard;
    std::thread::id poster;
    const auto record = [&](const std::string& who) {
        return [&, who](const std::any& object) {
            heard.push_back(who + " " + std::to_string(std::any_cast<int>(object)) +
                            (std::this_thread::get_id() == poster ? "" : " elsewhere"));
        };
    };
    NotificationCenter::Token self = 0;
    NotificationCenter::Token later = 0;
    self = center.observe("changed", [&](const std::any& object) {
        record("first")(object);
        center.observe("inner", record("inner"));
        center.post("inner", 0);
        center.removeObserver(self);
        center.removeObserver(later);
    });
    center.observe("changed", record("second"));
    later = center.observe("changed", record("later"));

    std::thread([&] {
        poster = std::this_thread::get_id();
        center.post("changed", 7);
        center.post("changed", 8);
    }).join();

    EXPECT_EQ(heard, (std::vector<std::string>{"first 7", "inner 0", "second 7", "second 8"}));
}

// Components remove their observers in their destructors while other threads post: the removal
// waits for the handler running elsewhere, and a post under way calls no observer removed by then.
TEST(LocalNotificationCenter, RemovalWaitsForTheHandlerRunningElsewhereAndNoCallStartsAfterIt)
{
    LocalNotificationCenter center;
    std::latch entered(1);
    std::promise<void> release;
    std::atomic<bool> firstDone = false;
    std::atomic<bool> secondCalled = false;
    const auto first =
        center.observe("changed", [&, released = release.get_future().share()](const std::any&) {
            entered.count_down();
            released.wait();
            firstDone = true;
        });
    const auto second = center.observe("changed", [&](const std::any&) { secondCalled = true; });
    std::thread posting([&] { center.post("changed", {}); });
    entered.wait();

    center.removeObserver(second);
    auto removal = std::async(std::launch::async, [&] { center.removeObserver(first); });
    // Still held by the handler a while later.
    EXPECT_EQ(removal.wait_for(100ms), std::future_status::timeout);
    release.set_value();
    removal.get();
    EXPECT_TRUE(firstDone);
    posting.join();
    EXPECT_FALSE(secondCalled);
}

// Nothing is heard before the main queue runs, nor by an observer removed by then; an observer
// that gave an object hears only that object.
TEST(LocalDistributedNotificationCenter, DeliversOnTheMainQueueLaterToTheObserversOfNameAndObjectStillThere)
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
    const auto removed = center.observe("ping", std::nullopt, record("removed"));

    center.post("ping", "a");
    center.post("ping", "b");
    center.post("ping", std::nullopt);
    center.removeObserver(removed);
    EXPECT_TRUE(heard.empty());
    mainLoop.async([&] { mainLoop.quit(); });
    mainLoop.run();

    EXPECT_EQ(heard, (std::vector<std::string>{"ping/a a", "ping/any a", "ping/any b", "ping/any -"}));
}

}  // namespace
}  // namespace veltrane::platform
