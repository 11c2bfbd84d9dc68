#include "platform/linux/wayland/WlrActiveApplication.h"
#include "TestReactor.h"
#include "wayland/SwayCompositor.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using desktoptest::SwayCompositor;
using platform::RunningApplication;
using Heard = std::vector<std::optional<RunningApplication>>;

const RunningApplication editor{"org.example.Editor", "Editor"};
// Unknown to the lookup: it goes by its app_id.
const RunningApplication tool{"example-tool", "example-tool"};

class WlrActiveApplicationTest : public ::testing::Test {
protected:
    // What the watcher has told, once it has told that much or after a few seconds of the loop.
    Heard heardAfter(std::size_t count)
    {
        reactor_.runUntil([&] { return heard_.size() >= count; }, std::chrono::seconds(10));
        return heard_;
    }

    testsupport::TestReactor reactor_;
    Heard heard_;
    SwayCompositor sway;
    const WlrActiveApplication watcher{
        reactor_.reactor, sway.display(),
        [](const std::string& appId) {
            return appId == editor.bundleIdentifier ? std::optional(editor) : std::nullopt;
        },
        [this](const std::optional<RunningApplication>& application) { heard_.push_back(application); }};
};

// Each window has the focus once mapped; when the frontmost closes, the next one has it. Focus
// moved by the compositor, and nothing in front once every window has closed, are in the kernel
// test of per-application settings.
TEST_F(WlrActiveApplicationTest, FollowsTheFocusAsWindowsOpenAndCloseUntilTheCompositorEnds)
{
    ASSERT_TRUE(watcher.available()) << watcher.problem();
    const auto editorWindow = sway.open(*editor.bundleIdentifier);
    ASSERT_EQ(heardAfter(1), Heard{editor});
    auto toolWindow = sway.open(*tool.bundleIdentifier);
    ASSERT_EQ(heardAfter(2), (Heard{editor, tool}));
    toolWindow.reset();
    EXPECT_EQ(heardAfter(3), (Heard{editor, tool, editor}));
    EXPECT_EQ(watcher.current(), editor);

    sway.stop();
    EXPECT_EQ(heardAfter(4), (Heard{editor, tool, editor, std::nullopt}));
    EXPECT_FALSE(watcher.available());
    EXPECT_NE(watcher.problem(), "");
}

TEST(WlrActiveApplicationWithoutCompositorTest, IsUnavailableAndSaysWhy)
{
    const std::string display = "veltrane-no-display-" + std::to_string(::getpid());
    Reactor reactor([](const std::string&) {});
    const WlrActiveApplication watcher(reactor, display, nullptr,
                                       [](const auto&) { ADD_FAILURE() << "told of a change"; });
    EXPECT_FALSE(watcher.available());
    EXPECT_NE(watcher.problem().find(display), std::string::npos) << watcher.problem();
    EXPECT_EQ(watcher.current(), std::nullopt);
}

}  // namespace
}  // namespace veltrane::linuxbackend
