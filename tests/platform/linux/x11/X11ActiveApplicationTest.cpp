#include "platform/linux/x11/X11ActiveApplication.h"

#include "Eventually.h"
#include "TemporaryFolder.h"
#include "TestReactor.h"
#include "x11/OpenboxProcess.h"
#include "x11/TestWindows.h"
#include "x11/XvfbServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using namespace std::chrono_literals;
using platform::RunningApplication;
// Readable in a failure message.
using Heard = std::vector<std::string>;

std::string described(const std::optional<RunningApplication>& application)
{
    return application ? *application->bundleIdentifier + " named " + *application->localizedName : "nothing";
}

// Some toolkits type WM_CLASS as UTF8_STRING instead of STRING.
void retypeClassAsUtf8(desktoptest::TestWindows& windows, xcb_window_t window, std::string_view value)
{
    xcb_change_property(windows.get(), XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                        windows.atom("UTF8_STRING"), 8, static_cast<std::uint32_t>(value.size()),
                        value.data());
}

// A desktop of its own: an X server, openbox, the desktop entries of a few applications and a
// client that opens their windows.
class X11ActiveApplicationTest : public ::testing::Test {
protected:
    X11ActiveApplicationTest()
    {
        std::filesystem::create_directories(folder / "applications");
        entry("org.example.Editor", "Name=Editor\nStartupWMClass=EditorMain\n");
        entry("viewer", "Name=Viewer\n");
        const auto self = std::filesystem::read_symlink("/proc/self/exe").filename().string();
        entry("runner", "Name=Runner\nExec=/elsewhere/" + self + " --run\n");
    }

    void SetUp() override { ASSERT_TRUE(windows.waitForWindowManager(30s)) << "openbox did not start"; }

    void entry(const std::string& id, const std::string& keys) const
    {
        std::ofstream(folder / "applications" / (id + ".desktop")) << "[Desktop Entry]\nType=Application\n"
                                                                   << keys;
    }

    std::unique_ptr<X11ActiveApplication> watch()
    {
        return std::make_unique<X11ActiveApplication>(
            reactor.reactor, xvfb.display(),
            std::make_shared<DesktopEntries>(std::vector{folder / "applications"}),
            [this](const auto& application) { heard.push_back(described(application)); });
    }

    // What the watch has called back with, once it has done so count times: the loop runs meanwhile.
    Heard heardAtLeast(std::size_t count)
    {
        reactor.runUntil([&] { return heard.size() >= count; }, 10s);
        return heard;
    }

    const testsupport::TemporaryFolder folder;
    desktoptest::XvfbServer xvfb;
    desktoptest::OpenboxProcess openbox{xvfb.display(), folder / "openbox"};
    desktoptest::TestWindows windows{xvfb.display()};
    testsupport::TestReactor reactor;
    Heard heard;
};

// A lost server leaves nothing in front: the engine must not stay aside for the last application
// named. Nothing in front once every window has closed is in the kernel test of per-application
// settings.
TEST_F(X11ActiveApplicationTest, NamesEachApplicationThatComesToTheFrontOnceUntilTheServerIsLost)
{
    const auto watcher = watch();
    ASSERT_TRUE(watcher->available()) << watcher->problem();
    EXPECT_EQ(watcher->current(), std::nullopt);

    const auto editor = windows.show(windows.create("edit", "EditorMain"));
    heardAtLeast(1);
    const auto secondEditor = windows.show(windows.create("edit", "EditorMain"));
    EXPECT_TRUE(testsupport::eventually([&] { return windows.activeWindow() == secondEditor; }, 10s));
    windows.show(windows.create("viewer", "VIEWER"));
    heardAtLeast(2);
    windows.activate(editor);
    heardAtLeast(3);
    windows.show(windows.create("unlisted", "Unlisted", static_cast<std::uint32_t>(::getpid())));
    heardAtLeast(4);
    // A client inside a window of its own, as a frame holds it.
    const auto frame = windows.create("", "");
    retypeClassAsUtf8(windows, windows.create("", "", 0, frame),
                      std::string_view("stranger\0Stranger\0", 18));
    windows.show(frame);

    Heard named{"org.example.Editor named Editor", "viewer named Viewer", "org.example.Editor named Editor",
                "runner named Runner", "Stranger named Stranger"};
    EXPECT_EQ(heardAtLeast(5), named);
    EXPECT_EQ(watcher->current(), (RunningApplication{"Stranger", "Stranger"}));

    xvfb.kill();
    named.emplace_back("nothing");
    EXPECT_EQ(heardAtLeast(6), named);
    EXPECT_THAT(watcher->problem(), ::testing::HasSubstr(xvfb.display()));
    EXPECT_EQ(watcher->current(), std::nullopt);
}

TEST(X11ActiveApplicationWithoutWindowManagerTest, SaysWhyItCannotWork)
{
    const desktoptest::XvfbServer xvfb;
    Reactor reactor([](const std::string&) {});
    const auto entries = std::make_shared<DesktopEntries>(std::vector<std::filesystem::path>{});
    const X11ActiveApplication bare(reactor, xvfb.display(), entries, [](const auto&) { FAIL(); });
    EXPECT_FALSE(bare.available());
    EXPECT_THAT(bare.problem(), ::testing::HasSubstr("_NET_ACTIVE_WINDOW"));

    const X11ActiveApplication nowhere(reactor, ":x", entries, [](const auto&) { FAIL(); });
    EXPECT_FALSE(nowhere.available());
    EXPECT_THAT(nowhere.problem(), ::testing::HasSubstr(":x"));
}

}  // namespace
}  // namespace veltrane::linuxbackend
