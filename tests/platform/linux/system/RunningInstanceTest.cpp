#include "platform/linux/system/RunningInstance.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace veltrane::linuxbackend {
namespace {

class RunningInstanceTest : public ::testing::Test {
protected:
    RunningInstanceTest() { std::filesystem::create_directories(folder); }
    ~RunningInstanceTest() override { std::filesystem::remove_all(folder); }

    bool heardWithin(std::chrono::milliseconds limit) const
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (reopened == 0 && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return reopened > 0;
    }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("running-instance-test-" + std::to_string(::getpid()));
    const std::filesystem::path socket = folder / "veltrane.socket";
    std::atomic<int> reopened = 0;
};

TEST_F(RunningInstanceTest, ALaterStartTellsTheRunningOneAndGetsNothing)
{
    const auto running = RunningInstance::claim(socket, [this] { ++reopened; });
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(RunningInstance::claim(socket, [] {}), nullptr);
    EXPECT_TRUE(heardWithin(std::chrono::seconds(5)));
}

TEST_F(RunningInstanceTest, OnceTheRunningOneHasEndedTheNextStartRunsOverWhatItLeft)
{
    // Left behind as by an instance that was killed: the lock is free, the socket still there.
    RunningInstance::claim(socket, [] {}).reset();
    ASSERT_TRUE(std::filesystem::exists(socket));
    const auto next = RunningInstance::claim(socket, [this] { ++reopened; });
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(RunningInstance::claim(socket, [] {}), nullptr);
    EXPECT_TRUE(heardWithin(std::chrono::seconds(5)));
}

}  // namespace
}  // namespace veltrane::linuxbackend
