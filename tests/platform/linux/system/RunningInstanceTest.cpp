#include "platform/linux/system/RunningInstance.h"

#include "TemporaryFolder.h"
#include "TestReactor.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace veltrane::linuxbackend {
namespace {

// Once the running one has ended, the next start runs over what it left; a later start then tells
// the running one and gets nothing.
TEST(RunningInstanceTest, ALaterStartTellsTheRunningOneEvenOverWhatAnEndedOneLeft)
{
    const testsupport::TemporaryFolder folder;
    const auto socket = folder / "veltrane.socket";
    testsupport::TestReactor reactor;
    // Left behind as by an instance that was killed: the lock is free, the socket still there.
    RunningInstance::claim(socket, reactor.reactor, [] {}).reset();
    ASSERT_TRUE(std::filesystem::exists(socket));
    int reopened = 0;
    const auto next = RunningInstance::claim(socket, reactor.reactor, [&] { ++reopened; });
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(RunningInstance::claim(socket, reactor.reactor, [] {}), nullptr);
    EXPECT_TRUE(reactor.runUntil([&] { return reopened == 1; }));
}

}  // namespace
}  // namespace veltrane::linuxbackend
