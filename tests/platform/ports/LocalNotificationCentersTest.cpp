#include "platform/LocalDistributedNotificationCenter.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/threads/MainLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::platform {
namespace {

using namespace std::chrono_literals;

// Within a post a handler may post, observe and remove observers, itself included, without
// waiting for itself; an observer it removes is not called.
TEST(LocalNotificationCenter, RunsTheObserversOfTheNameOnThePostingThreadInOrderAndLetsThemChangeThem)
{
    LocalNotificationCenter center;
    std::vector<std::string> heard;
    std::thread::id ran;
    NotificationCenter::Token self = 0;
    NotificationCenter::Token later = 0;
    self = center.observe("changed", [&](const std::any& object) {
        heard.push_back("first " + std::to_string(std::any_cast<int>(object)));
        ran = std::this_thread::get_id();
        center.observe("inner", [&](const std::any&) { heard.emplace_back("inner"); });
        center.post("inner", {});
        center.removeObserver(self);
        center.removeObserver(later);
    });
    center.observe("other", [&](const std::any&) { heard.emplace_back("other"); });
    center.observe("changed", [&](const std::any& object) {
        heard.push_back("second " + std::to_string(std::any_cast<int>(object)));
    });
    later = center.observe("changed", [&](const std::any&) { heard.emplace_back("later"); });

    std::thread posting([&] {
        center.post("changed", 7);
        center.post("changed", 8);
    });
    const auto postingId = posting.get_id();
    posting.join();

    EXPECT_EQ(heard, (std::vector<std::string>{"first 7", "inner", "second 7", "second 8"}));
    EXPECT_EQ(ran, postingId);
}

TEST(LocalNotificationCenter, RemovingAnObserverWaitsForItsHandlerRunningOnAnotherThread)
{
    LocalNotificationCenter center;
    std::latch entered(1);
    std::promise<void> release;
    std::atomic<bool> handlerDone = false;
    const auto token =
        center.observe("changed", [&, released = release.get_future().share()](const std::any&) {
            entered.count_down();
            released.wait();
            handlerDone = true;
        });
    std::thread posting([&] { center.post("changed", {}); });
    entered.wait();

    auto removal = std::async(std::launch::async, [&] { center.removeObserver(token); });
    // Still held by the handler a while later.
    EXPECT_EQ(removal.wait_for(100ms), std::future_status::timeout);
    release.set_value();
    removal.get();
    posting.join();

    EXPECT_TRUE(handlerDone);
}

TEST(LocalNotificationCenter, UnderConcurrentPostsNoObserverIsCalledAfterItsRemoval)
{
    constexpr int posters = 3;
    constexpr int observers = 3;
    constexpr int rounds = 2000;
    LocalNotificationCenter center;
    std::atomic<int> lateCalls = 0;
    std::atomic<int> steadyCalls = 0;
    std::atomic<bool> observing = true;
    center.observe("changed", [&](const std::any&) { ++steadyCalls; });
    std::latch start(posters + observers);
    std::vector<std::thread> posterThreads;
    for (int i = 0; i < posters; ++i) {
        posterThreads.emplace_back([&] {
            start.arrive_and_wait();
            while (observing) {
                center.post("changed", {});
            }
        });
    }
    std::vector<std::thread> observerThreads;
    for (int i = 0; i < observers; ++i) {
        observerThreads.emplace_back([&] {
            start.arrive_and_wait();
            for (int round = 0; round < rounds; ++round) {
                auto removed = std::make_shared<std::atomic<bool>>(false);
                const auto token = center.observe(
                    "changed", [&lateCalls, removed](const std::any&) { lateCalls += *removed ? 1 : 0; });
                center.removeObserver(token);
                *removed = true;
            }
        });
    }
    for (auto& thread : observerThreads) {
        thread.join();
    }
    observing = false;
    for (auto& thread : posterThreads) {
        thread.join();
    }

    EXPECT_EQ(lateCalls, 0);
    EXPECT_GT(steadyCalls, 0);
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
