#include "ChildProcess.h"
#include "Eventually.h"
#include "PrivateBus.h"
#include "TemporaryFolder.h"
#include "TestReactor.h"
#include "platform/linux/bus/BusDistributedNotificationCenter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kPong = "com.marrowind.Veltrane.pong";
constexpr const char* kTerminate = "com.marrowind.Veltrane.terminateLauncher";
constexpr const char* kProgram = "com.marrowind.Veltrane";
constexpr const char* kHelper = "com.marrowind.VeltraneLauncher";

using testsupport::eventually;

// The helper inside a program folder of the test's own, where the program only notes that it was
// started; and, on a bus of the test's own, the program's side of the talk, served by a reactor on
// the test's thread.
class LauncherTest : public testing::Test {
protected:
    LauncherTest()
    {
        std::filesystem::create_directories(helper_.parent_path());
        std::filesystem::copy_file(VELTRANE_LAUNCHER, helper_);
        std::ofstream(folder_ / "veltrane") << "#!/bin/sh\necho started >> " << started_.string() << "\n";
        std::filesystem::permissions(folder_ / "veltrane", std::filesystem::perms::owner_all);
        program_.observe(kPong, kProgram,
                         [this](const auto&) { pong_ = Clock::now().time_since_epoch().count(); });
    }

    void startHelper(std::vector<std::string> arguments, const std::string& busAddress)
    {
        arguments.insert(arguments.begin(), helper_.string());
        helperProcess_.emplace(
            arguments, testsupport::ChildProcess::Options{.environment = std::vector<std::string>{
                                                              "DBUS_SESSION_BUS_ADDRESS=" + busAddress}});
    }

    // How the helper ended, or nothing while it runs on after a few seconds.
    std::optional<int> exitStatus()
    {
        eventually([&] { return helperProcess_->status().has_value(); });
        return helperProcess_->status();
    }

    bool helperPresent() const
    {
        const auto names = program_.namesOnBus();
        return std::find(names.begin(), names.end(), kHelper) != names.end();
    }

    bool programStarted() const { return std::filesystem::exists(started_); }

    void tellHelperToGo() { program_.post(kTerminate, kProgram); }

    const testsupport::TemporaryFolder folder_;
    const std::filesystem::path helper_ = folder_ / "Contents/Library/LoginItems/VeltraneLauncher.app";
    const std::filesystem::path started_ = folder_ / "started";
    linuxbackend::PrivateBus bus_;
    testsupport::TestReactor reactor_;
    linuxbackend::BusDistributedNotificationCenter program_{reactor_.reactor, reactor_.loop, bus_.address()};
    // When the pong came, since the clock's epoch; zero before.
    Clock::rep pong_ = 0;
    std::optional<testsupport::ChildProcess> helperProcess_;
};

TEST_F(LauncherTest, ARelaunchAnswersThenStartsTheProgramAfterTheDelayAndStaysUntilTheProgramIsUp)
{
    startHelper({"relaunch", "1"}, bus_.address());
    ASSERT_TRUE(reactor_.runUntil([&] { return pong_ != 0; })) << "no pong";
    EXPECT_FALSE(programStarted());
    EXPECT_TRUE(helperPresent());

    ASSERT_TRUE(eventually([&] { return programStarted(); }));
    EXPECT_GE(Clock::now().time_since_epoch() - Clock::duration(pong_), 900ms);
    EXPECT_TRUE(helperPresent());

    tellHelperToGo();
    EXPECT_EQ(exitStatus(), 0);
    EXPECT_FALSE(helperPresent());
}

// Someone started the program during the delay: a second one must not follow.
TEST_F(LauncherTest, TheProgramUpDuringTheDelayEndsTheRelaunch)
{
    startHelper({"relaunch", "2"}, bus_.address());
    ASSERT_TRUE(reactor_.runUntil([&] { return pong_ != 0; })) << "no pong";
    tellHelperToGo();
    EXPECT_EQ(exitStatus(), 0);
    EXPECT_FALSE(programStarted());
}

TEST_F(LauncherTest, AtLoginTheProgramStartsAtOnceAndTheHelperWaitsForItsWord)
{
    startHelper({}, bus_.address());
    ASSERT_TRUE(eventually([&] { return programStarted(); }));
    EXPECT_TRUE(reactor_.runUntil([&] { return helperPresent(); }));
    EXPECT_EQ(pong_, 0);
    tellHelperToGo();
    EXPECT_EQ(exitStatus(), 0);
}

// The program waits for the pong before it quits: without a bus it is better left running.
TEST_F(LauncherTest, WithoutASessionBusOnlyTheStartAtLoginGoesOn)
{
    startHelper({"relaunch", "0"}, "unix:path=/nonexistent/bus");
    EXPECT_EQ(exitStatus(), 1);
    EXPECT_FALSE(programStarted());

    startHelper({}, "unix:path=/nonexistent/bus");
    EXPECT_EQ(exitStatus(), 0);
    // Started as the helper leaves, the program comes up in its own time.
    EXPECT_TRUE(eventually([&] { return programStarted(); }));

    startHelper({"relaunch", "soon"}, bus_.address());
    EXPECT_EQ(exitStatus(), 2);
}

}  // namespace
}  // namespace veltrane
