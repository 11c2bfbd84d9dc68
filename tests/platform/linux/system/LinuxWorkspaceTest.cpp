#include "platform/linux/system/LinuxWorkspace.h"
#include "TemporaryFolder.h"
#include "platform/threads/MainLoop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using platform::RunningApplication;
using platform::WorkspaceNotification;

class LinuxWorkspaceTest : public testing::Test {
protected:
    // Runs what the main queue holds now, then returns.
    void drain()
    {
        mainLoop_.async([this] { mainLoop_.quit(); });
        mainLoop_.run();
    }

    std::filesystem::path program(const std::string& name)
    {
        const auto path = folder_ / name;
        std::ofstream(path) << "#!/bin/sh\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }

    const testsupport::TemporaryFolder folder_;
    threads::MainLoop mainLoop_;
    std::vector<std::string> launched_;
    LinuxWorkspace workspace_{mainLoop_,
                              [this](const std::string& path, const std::vector<std::string>& arguments) {
                                  launched_.push_back(path +
                                                      (arguments.empty() ? "" : " " + arguments.front()));
                              },
                              [] { return std::vector<RunningApplication>{}; }};
};

// Nothing in front reaches them as an application without an identifier, for which the engine works.
// Sleep waits for its observers: logind holds the machine awake until the watcher returns.
TEST_F(LinuxWorkspaceTest, TheWatchersNewsReachTheObserversOnTheMainQueueAndSleepOnlyOnceTheyRan)
{
    std::vector<std::string> heard;
    const auto record = [&](const std::string& what) {
        return [&, what](const std::optional<RunningApplication>& application) {
            heard.push_back(what + (application ? " " + application->bundleIdentifier.value_or("-") : "") +
                            (mainLoop_.isCurrent() ? "" : " (elsewhere)"));
        };
    };
    workspace_.observe(WorkspaceNotification::didActivateApplication, record("activated"));
    workspace_.observe(WorkspaceNotification::didWake, record("woke"));

    std::thread([&] {
        workspace_.applicationActivated(RunningApplication{"org.example.Editor", "Editor"});
        workspace_.announce(WorkspaceNotification::didWake);
        workspace_.applicationActivated(std::nullopt);
    }).join();
    EXPECT_TRUE(heard.empty());
    drain();

    EXPECT_EQ(heard, (std::vector<std::string>{"activated org.example.Editor", "woke", "activated -"}));
    EXPECT_EQ(workspace_.frontmostApplication(), std::nullopt);

    bool slept = false;
    workspace_.observe(WorkspaceNotification::willSleep, [&](const auto&) { slept = true; });
    workspace_.announce(WorkspaceNotification::willSleep);
    EXPECT_TRUE(slept);
}

// An application opens when it is a program, and the completion says so.
TEST_F(LinuxWorkspaceTest, UrlsGoToTheDesktopsOpenerWhenThereIsOneAndApplicationsOpenWhenTheyArePrograms)
{
    const char* path = std::getenv("PATH");
    const std::string saved = path != nullptr ? path : "";
    ::setenv("PATH", folder_.path().c_str(), 1);
    EXPECT_FALSE(workspace_.openURL("https://example.org"));
    program("xdg-open");
    EXPECT_TRUE(workspace_.openURL("https://example.org/a b"));
    for (const char* malformed : {"", "example.org", ":nothing", "1http://x", "ht tp://x", "mailto:"}) {
        EXPECT_FALSE(workspace_.openURL(malformed)) << malformed;
    }
    ::setenv("PATH", saved.c_str(), 1);
    EXPECT_EQ(launched_, (std::vector<std::string>{"xdg-open https://example.org/a b"}));

    std::vector<std::optional<std::string>> completions;
    const auto record = [&](const std::optional<std::string>& error) { completions.push_back(error); };
    const auto launcher = program("veltrane-launcher");
    workspace_.openApplication(launcher.string(), {"relaunch", "2"}, record);
    workspace_.openApplication((folder_ / "missing").string(), {}, record);
    EXPECT_TRUE(completions.empty());
    drain();

    EXPECT_EQ(launched_, (std::vector<std::string>{"xdg-open https://example.org/a b",
                                                   launcher.string() + " relaunch"}));
    ASSERT_EQ(completions.size(), 2u);
    EXPECT_EQ(completions[0], std::nullopt);
    EXPECT_EQ(completions[1],
              "cannot open " + (folder_ / "missing").string() + ": it is not a program this user may run");
}

}  // namespace
}  // namespace veltrane::linuxbackend
