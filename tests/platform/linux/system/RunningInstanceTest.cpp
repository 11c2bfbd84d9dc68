#include "platform/linux/system/RunningInstance.h"

#include "Eventually.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>

namespace veltrane::linuxbackend {
namespace {

class RunningInstanceTest : public ::testing::Test {
protected:
    RunningInstanceTest() { std::filesystem::create_directories(folder); }
    ~RunningInstanceTest() override { std::filesystem::remove_all(folder); }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("running-instance-test-" + std::to_string(::getpid()));
};

// Once the running one has ended, the next start runs over what it left; a later start then tells
// the running one and gets nothing.
TEST_F(RunningInstanceTest, ALaterStartTellsTheRunningOneEvenOverWhatAnEndedOneLeft)
{
    const auto socket = folder / "veltrane.socket";
    std::atomic<int> reopened = 0;
    // Left behind as by an instance that was killed: the lock is free, the socket still there.
    RunningInstance::claim(socket, [] {}).reset();
    ASSERT_TRUE(std::filesystem::exists(socket));
    const auto next = RunningInstance::claim(socket, [&] { ++reopened; });
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(RunningInstance::claim(socket, [] {}), nullptr);
    EXPECT_TRUE(testsupport::eventually([&] { return reopened > 0; }));
}

}  // namespace
}  // namespace veltrane::linuxbackend
