#include "platform/linux/system/LinuxSystem.h"
#include "platform/linux/system/InputAccess.h"
#include "platform/linux/system/RunningInstance.h"

#include "TemporaryFolder.h"
#include "TestReactor.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace veltrane::linuxbackend {
namespace {

using namespace std::chrono_literals;
using testsupport::TemporaryFolder;

// The programs are started and waited for on the reactor, run while the test waits.
testsupport::TestReactor running;

LinuxSystem makeSystem(const std::filesystem::path& autostart = "")
{
    return LinuxSystem({.trusted = [] { return true; },
                        .terminate = [] {},
                        .exit = [](int) {},
                        .debug = [](const std::string&) {}},
                       {}, XdgAutostart(autostart, "/opt/my apps/veltrane"), running.reactor, "");
}

// Whether this process has no child at all, running or exited. WNOWAIT leaves an exited child to
// whoever reaps it.
bool noChildLeft()
{
    siginfo_t info{};
    return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
}

// A program that cannot start leaves no child either.
TEST(LinuxSystemLaunch, StartsTheProgramFoundOnThePathWithoutWaitingAndReapsIt)
{
    const TemporaryFolder folder;
    const auto go = folder / "go";
    const auto out = folder / "out";
    // The child waits (ten seconds at most) for the file that the test makes once launchTask has
    // returned, then writes its argument.
    const std::string script =
        R"(i=0; while [ ! -e "$1" ] && [ $i -lt 1000 ]; do sleep 0.01; i=$((i+1)); done;)"
        R"( echo "$2" > "$3")";
    auto system = makeSystem();

    system.launchTask("sh", {"-c", script, "launched", go.string(), "started", out.string()});
    EXPECT_FALSE(std::filesystem::exists(out));
    std::ofstream{go};

    EXPECT_TRUE(running.runUntil([&] { return TemporaryFolder::read(out) == "started\n"; }, 10s))
        << TemporaryFolder::read(out);
    EXPECT_TRUE(running.runUntil(noChildLeft, 10s));

    system.launchTask((folder / "missing").string(), {});
    EXPECT_TRUE(running.runUntil(noChildLeft, 10s));
}

// The login item is the desktop's autostart entry: written shown or hidden, never removed, so that
// a hidden one still overrides a system-wide entry of the same name. One that cannot be written fails.
TEST(LinuxSystemLaunch, TheLoginItemIsAnAutostartEntryShownOrHiddenWhereItCanBeWritten)
{
    const TemporaryFolder folder;
    const auto autostart = folder / "config" / "autostart";
    LinuxSystem system = makeSystem(autostart);
    const XdgAutostart reader(autostart, "");
    const auto entry = autostart / "com.marrowind.VeltraneLauncher.desktop";

    EXPECT_FALSE(reader.enabled("com.marrowind.VeltraneLauncher"));
    EXPECT_TRUE(system.setLoginItemEnabled("com.marrowind.VeltraneLauncher", true));
    EXPECT_TRUE(reader.enabled("com.marrowind.VeltraneLauncher"));
    const auto text = TemporaryFolder::read(entry);
    EXPECT_NE(text.find("[Desktop Entry]\nType=Application\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nExec=\"/opt/my apps/veltrane\"\n"), std::string::npos) << text;

    EXPECT_TRUE(system.setLoginItemEnabled("com.marrowind.VeltraneLauncher", false));
    EXPECT_FALSE(reader.enabled("com.marrowind.VeltraneLauncher"));
    EXPECT_TRUE(std::filesystem::exists(entry));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(autostart), {}), 1);

    std::ofstream(folder / "file");
    EXPECT_FALSE(makeSystem(folder / "file" / "autostart").setLoginItemEnabled("veltrane", true));
    EXPECT_FALSE(makeSystem("").setLoginItemEnabled("veltrane", true));
}

// Once the running one has ended, the next start runs over what it left; a later start then tells
// the running one and gets nothing.
TEST(RunningInstanceTest, ALaterStartTellsTheRunningOneEvenOverWhatAnEndedOneLeft)
{
    const TemporaryFolder folder;
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

// What the permission advice and `veltrane devices` say follows the machine: the rule in any of udev's
// folders, and whether logind manages seats. The operating system's version is the running kernel's.
TEST(LinuxSystem, TheRuleThatOpensTheDevicesAndTheVersionFollowTheMachine)
{
    EXPECT_GE(makeSystem().operatingSystemVersion(), (platform::OperatingSystemVersion{2, 6, 0}));
    const TemporaryFolder folder;
    const InputAccess::Places places{{folder / "70-veltrane.rules", folder / "etc.rules"}, folder / "seats"};
    EXPECT_EQ(InputAccess::rule(places), InputAccess::Rule::none);
    TemporaryFolder::write(folder / "etc.rules", "");
    EXPECT_EQ(InputAccess::rule(places), InputAccess::Rule::group);
    std::filesystem::create_directory(folder / "seats");
    EXPECT_EQ(InputAccess::rule(places), InputAccess::Rule::seat);
    EXPECT_NE(InputAccess::describe(InputAccess::Rule::seat).find("never to a remote session"),
              std::string::npos);
}

}  // namespace
}  // namespace veltrane::linuxbackend
