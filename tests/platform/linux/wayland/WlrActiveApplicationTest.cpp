#include "platform/linux/wayland/WlrActiveApplication.h"
#include "wayland/SwayCompositor.h"
#include "wayland/TestWindow.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using desktoptest::SwayCompositor;
using desktoptest::TestWindow;
using platform::RunningApplication;
using Heard = std::vector<std::optional<RunningApplication>>;

const RunningApplication editor{"org.example.Editor", "Editor"};
// Unknown to the lookup: it goes by its app_id.
const RunningApplication tool{"example-tool", "example-tool"};

class WlrActiveApplicationTest : public ::testing::Test {
protected:
    // What the watcher has told, once it has told that much or after a few seconds.
    Heard heardAfter(std::size_t count)
    {
        std::unique_lock lock(mutex_);
        grown_.wait_for(lock, std::chrono::seconds(10), [&] { return heard_.size() >= count; });
        return heard_;
    }

    // Each window has the focus once mapped.
    void openEditorThenTool()
    {
        editorWindow = std::make_unique<TestWindow>(sway.display(), *editor.bundleIdentifier);
        ASSERT_EQ(heardAfter(1), Heard{editor});
        toolWindow = std::make_unique<TestWindow>(sway.display(), *tool.bundleIdentifier);
        ASSERT_EQ(heardAfter(2), (Heard{editor, tool}));
    }

    // Before the watcher, which tells them until it is destroyed.
    std::mutex mutex_;
    std::condition_variable grown_;
    Heard heard_;
    SwayCompositor sway;
    const WlrActiveApplication watcher{sway.display(),
                                       [](const std::string& appId) {
                                           return appId == editor.bundleIdentifier ? std::optional(editor)
                                                                                   : std::nullopt;
                                       },
                                       [this](const std::optional<RunningApplication>& application) {
                                           const std::lock_guard lock(mutex_);
                                           heard_.push_back(application);
                                           grown_.notify_all();
                                       }};
    std::unique_ptr<TestWindow> editorWindow;
    std::unique_ptr<TestWindow> toolWindow;
};

TEST_F(WlrActiveApplicationTest, FollowsTheFocusBetweenApplicationsUntilTheCompositorEnds)
{
    ASSERT_TRUE(watcher.available()) << watcher.problem();
    ASSERT_NO_FATAL_FAILURE(openEditorThenTool());
    ASSERT_TRUE(sway.command("[app_id=\"org.example.Editor\"] focus"));
    EXPECT_EQ(heardAfter(3), (Heard{editor, tool, editor}));
    EXPECT_EQ(watcher.current(), editor);

    sway.stop();
    EXPECT_EQ(heardAfter(4), (Heard{editor, tool, editor, std::nullopt}));
    EXPECT_FALSE(watcher.available());
    EXPECT_NE(watcher.problem(), "");
}

TEST_F(WlrActiveApplicationTest, WhenTheFrontmostWindowClosesTheNextOneOrNothingIsFrontmost)
{
    ASSERT_NO_FATAL_FAILURE(openEditorThenTool());
    toolWindow.reset();
    EXPECT_EQ(heardAfter(3), (Heard{editor, tool, editor}));
    editorWindow.reset();
    EXPECT_EQ(heardAfter(4), (Heard{editor, tool, editor, std::nullopt}));
    EXPECT_EQ(watcher.current(), std::nullopt);
    EXPECT_TRUE(watcher.available());
}

TEST(WlrActiveApplicationWithoutCompositorTest, IsUnavailableAndSaysWhy)
{
    const std::string display = "veltrane-no-display-" + std::to_string(::getpid());
    const WlrActiveApplication watcher(display, nullptr,
                                       [](const auto&) { ADD_FAILURE() << "told of a change"; });
    EXPECT_FALSE(watcher.available());
    EXPECT_NE(watcher.problem().find(display), std::string::npos) << watcher.problem();
    EXPECT_EQ(watcher.current(), std::nullopt);
}

}  // namespace
}  // namespace veltrane::linuxbackend
