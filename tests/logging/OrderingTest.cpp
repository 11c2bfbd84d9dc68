#include "RecordingDestination.h"
#include "logging/Log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace logging {
namespace {

using testing::RecordingDestination;

constexpr int threads = 8;
constexpr int callsEach = 2000;

// Every line of every thread arrives once, and each thread's lines arrive in the order it made them.
void expectEveryLineInEachThreadsOrder(const std::vector<std::string>& lines)
{
    std::vector<int> next(threads, 0);
    for (const auto& line : lines) {
        const auto colon = line.find(':');
        const int thread = std::stoi(line.substr(0, colon));
        const int call = std::stoi(line.substr(colon + 1));
        ASSERT_EQ(call, next[static_cast<std::size_t>(thread)]) << "thread " << thread;
        ++next[static_cast<std::size_t>(thread)];
    }
    EXPECT_EQ(next, std::vector<int>(threads, callsEach));
}

void logFromManyThreads()
{
    std::latch start(threads);
    std::vector<std::thread> callers;
    for (int thread = 0; thread < threads; ++thread) {
        callers.emplace_back([&start, thread] {
            start.arrive_and_wait();
            for (int call = 0; call < callsEach; ++call) {
                LOGGING_INFO(std::to_string(thread) + ":" + std::to_string(call));
            }
        });
    }
    for (auto& caller : callers) {
        caller.join();
    }
}

class OrderingTest : public ::testing::Test {
protected:
    ~OrderingTest() override { Logging::unregisterAll(); }

    static std::shared_ptr<RecordingDestination> recorder(bool asynchronously)
    {
        auto destination = std::make_shared<RecordingDestination>();
        destination->format = "$M";
        destination->asynchronously = asynchronously;
        Logging::registerDestination(destination);
        return destination;
    }
};

TEST_F(OrderingTest, LinesOfOneDestinationKeepTheirOrderUnderManyThreads)
{
    const auto asynchronous = recorder(true);
    const auto synchronous = recorder(false);
    logFromManyThreads();
    expectEveryLineInEachThreadsOrder(asynchronous->lines());
    expectEveryLineInEachThreadsOrder(synchronous->lines());
}

TEST_F(OrderingTest, SettingsMayChangeWhileOtherThreadsLog)
{
    const auto destination = recorder(true);
    std::atomic<bool> done{false};
    std::thread changer([&] {
        while (!done) {
            auto extra = std::make_shared<RecordingDestination>();
            Logging::registerDestination(extra);
            Logging::setMinLevelEverywhere(Level::error);
            Logging::setMinLevelEverywhere(Level::verbose);
            destination->asynchronously = !destination->asynchronously;
            Logging::unregisterDestination(extra);
        }
    });
    logFromManyThreads();
    done = true;
    changer.join();
    destination->minLevel = Level::verbose;
    LOGGING_INFO("after");
    const auto lines = destination->lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "after");
}

}  // namespace
}  // namespace logging
