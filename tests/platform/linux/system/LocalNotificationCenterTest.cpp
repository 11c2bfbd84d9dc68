#include "platform/linux/system/LocalNotificationCenter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using namespace std::chrono_literals;

TEST(LocalNotificationCenter, RunsTheObserversOfTheNameOnThePostingThreadInTheOrderAdded)
{
    LocalNotificationCenter center;
    std::vector<std::string> heard;
    std::thread::id poster;
    const auto record = [&](const std::string& who) {
        return [&, who](const std::any& object) {
            heard.push_back(who + " " + std::to_string(std::any_cast<int>(object)));
            poster = std::this_thread::get_id();
        };
    };
    center.observe("changed", record("first"));
    center.observe("other", record("other"));
    center.observe("changed", record("second"));

    std::thread posting([&] { center.post("changed", 7); });
    const auto postingId = posting.get_id();
    posting.join();

    EXPECT_EQ(heard, (std::vector<std::string>{"first 7", "second 7"}));
    EXPECT_EQ(poster, postingId);
}

// Within a post, a handler may post, observe and remove itself; an observer it removes is not
// called.
TEST(LocalNotificationCenter, HandlersMayPostObserveAndRemoveObserversThemselvesIncluded)
{
    LocalNotificationCenter center;
    std::vector<std::string> heard;
    platform::NotificationCenter::Token self = 0;
    platform::NotificationCenter::Token later = 0;
    self = center.observe("outer", [&](const std::any&) {
        heard.emplace_back("outer");
        center.observe("inner", [&](const std::any&) { heard.emplace_back("inner"); });
        center.post("inner", {});
        center.removeObserver(self);
        center.removeObserver(later);
    });
    later = center.observe("outer", [&](const std::any&) { heard.emplace_back("later"); });

    center.post("outer", {});
    center.post("outer", {});

    EXPECT_EQ(heard, (std::vector<std::string>{"outer", "inner"}));
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

}  // namespace
}  // namespace veltrane::linuxbackend
