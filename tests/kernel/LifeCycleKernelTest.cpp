#include "Eventually.h"
#include "LogindMock.h"
#include "PrivateBus.h"
#include "VeltraneProcess.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace veltrane::kernel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kFollowingLogind = "Sleep, wake and session changes come from logind";

// Long, because a virtual machine on a loaded host can stall for seconds.
bool eventually(const std::function<bool()>& condition)
{
    return testsupport::eventually(condition, 20s);
}

// The processes running the program at that path: started by a helper or a shell in a session of
// their own, they are not the test's children.
std::vector<pid_t> programsAt(const std::filesystem::path& program)
{
    std::vector<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path() / "exe", error) == program) {
            found.push_back(std::stoi(entry.path().filename().string()));
        }
    }
    return found;
}

// The program in a folder of its own, as installed: the launcher helper and the commands of its
// relaunch beside it.
std::filesystem::path installedProgram(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder / "Contents/Library/LoginItems");
    std::filesystem::create_directories(folder / "commands");
    std::filesystem::copy_file("/bin/veltrane", folder / "veltrane");
    std::filesystem::copy_file("/bin/VeltraneLauncher.app",
                               folder / "Contents/Library/LoginItems/VeltraneLauncher.app");
    std::filesystem::copy_file("/bin/open", folder / "commands/open");
    return folder / "veltrane";
}

// A machine with logind (Debian's mock, on a stand-in system bus) and a session bus.
class LifeCycleKernelTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(system_.address().empty()) << "dbus-daemon did not start";
        ASSERT_FALSE(session_.address().empty()) << "dbus-daemon did not start";
    }

    std::vector<std::string> environment() const
    {
        return {"DBUS_SYSTEM_BUS_ADDRESS=" + system_.address(),
                "DBUS_SESSION_BUS_ADDRESS=" + session_.address(), "HOME=/tmp", "PATH=/bin"};
    }

    const linuxbackend::PrivateBus system_;
    const linuxbackend::PrivateBus session_;
    // Never run: the calls to the mock wait for their answers on their own.
    linuxbackend::Reactor reactor_{[](const std::string&) {}};
    linuxbackend::LogindMock logind_{system_.address(), reactor_, {}};
};

// Sleep is held back until the program has noted it, and held back again after the wake. The key
// mapping returns after its delay; the listener restarts only when the settings ask.
TEST_F(LifeCycleKernelTest, AfterAWakeTheKeyMappingReturnsAfterItsDelayAndTheListenerRestartsWhenAsked)
{
    for (const bool restart : {true, false}) {
        SCOPED_TRACE(restart ? "restartKeyListenOnWake on" : "restartKeyListenOnWake off");
        const int delaysBefore = logind_.delaysGranted();
        VeltraneProcess veltrane(
            std::string(R"({"keyRemap": true, "wakeKeyboardDelay": 2, "restartKeyListenOnWake": )") +
                (restart ? "true}" : "false}"),
            {"--headless"}, std::nullopt, environment());
        ASSERT_TRUE(veltrane.waitForOutput(kFollowingLogind)) << veltrane.output();
        ASSERT_TRUE(veltrane.waitForOutput("Open: 0")) << veltrane.output();
        ASSERT_TRUE(
            eventually([&] { return logind_.delaysGranted() > delaysBefore && logind_.delayHeld(); }));
        // The key mapping is written again a second after the keyboard was found; that one is not the
        // wake's. The wake comes within a second of the listener's start, which its restart waits out.
        ASSERT_TRUE(veltrane.waitForOutput("Key mapping:")) << veltrane.output();

        logind_.prepareForSleep(true);
        EXPECT_TRUE(eventually([&] { return !logind_.delayHeld(); })) << "the sleep stayed held back";
        const auto sinceWake = veltrane.skipOutput();
        const auto woke = Clock::now();
        logind_.prepareForSleep(false);

        EXPECT_TRUE(veltrane.waitForOutput("Key mapping:")) << veltrane.output();
        EXPECT_GE(Clock::now() - woke, 1500ms) << veltrane.output().substr(sinceWake);
        EXPECT_EQ(veltrane.output().find("Open: 0", sinceWake) != std::string::npos, restart)
            << veltrane.output();
        EXPECT_TRUE(
            eventually([&] { return logind_.delaysGranted() == delaysBefore + 2 && logind_.delayHeld(); }));
    }
}

// After a switch of user, back in its session, the program starts afresh: it ends, and its open
// command brings it back a second later.
TEST_F(LifeCycleKernelTest, TheSessionActiveAgainRelaunchesTheProgram)
{
    const auto program = installedProgram("/tmp/session/veltrane");
    VeltraneProcess veltrane("", {"--headless"}, std::nullopt, environment(), program.string());
    ASSERT_TRUE(veltrane.waitForOutput(kFollowingLogind)) << veltrane.output();

    logind_.setActive(false, true);
    logind_.setActive(true, true);
    EXPECT_EQ(veltrane.waitForExit(), 0) << veltrane.output();
    EXPECT_TRUE(eventually([&] { return !programsAt(program).empty(); })) << "the program did not come back";
    for (const pid_t pid : programsAt(program)) {
        ::kill(pid, SIGTERM);
    }
}

// At login the desktop starts the launcher helper, which brings the program up; the program, up,
// tells it over the session bus to go, long before the helper's patience runs out.
TEST_F(LifeCycleKernelTest, AtLoginTheHelperBringsTheProgramUpAndLeavesWhenTheProgramSaysSo)
{
    const auto program = installedProgram("/tmp/login/veltrane");
    VeltraneProcess login(
        "", {}, std::nullopt, environment(),
        (program.parent_path() / "Contents/Library/LoginItems/VeltraneLauncher.app").string());
    EXPECT_EQ(login.waitForExit(30s), 0) << login.output();
    EXPECT_TRUE(login.waitForOutput(kFollowingLogind)) << login.output();
    EXPECT_EQ(login.output().find("The launcher helper cannot be reached"), std::string::npos)
        << login.output();
    for (const pid_t pid : programsAt(program)) {
        ::kill(pid, SIGTERM);
    }
}

}  // namespace
}  // namespace veltrane::kernel
