#include "UinputKeyboard.h"
#include "VeltraneProcess.h"
#include "VirtualKeyboardTap.h"
#include "x11/OpenboxProcess.h"
#include "x11/TestWindows.h"
#include "x11/XvfbServer.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::kernel {
namespace {

using Keys = std::vector<std::string>;
using namespace std::chrono_literals;

// Caps lock as itself: the lock changes as the key goes down, as on the keyboard of a Mac.
const Keys kPlain{"+capslock", "-capslock", "+a", "-a"};
// The key mapping's last pair: caps lock to left Command below the event level while the engine works,
// caps lock to itself while it stands aside.
constexpr const char* kEngaged = "MappingDst: 30064771299}]";
constexpr const char* kAside = "MappingDst: 30064771129}]";
const Keys kChord{"+lctrl", "+lopt", "+lcmd", "+lshift", "+a", "-a", "-lcmd", "-lctrl", "-lopt", "-lshift"};

// The real program on an X desktop under openbox, a keyboard, and two applications to switch
// between: an editor its desktop entry names, and a viewer known by its window class only.
class PerApplicationDesktop {
public:
    explicit PerApplicationDesktop(const std::string& settings)
    {
        std::filesystem::create_directories(data_ / "applications");
        std::ofstream(data_ / "applications" / "org.example.Editor.desktop")
            << "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor\nStartupWMClass=EditorMain\n";
        EXPECT_TRUE(windows_.waitForWindowManager(60s)) << "openbox did not start";
        veltrane_ = std::make_unique<VeltraneProcess>(
            settings, std::vector<std::string>{"--headless"}, std::nullopt,
            std::vector<std::string>{"DISPLAY=" + server_.display(), "HOME=/tmp",
                                     "XDG_DATA_HOME=" + data_.string(), "XDG_DATA_DIRS=/nonexistent"});
        EXPECT_TRUE(veltrane_->waitForOutput("The frontmost application comes from the X11 window manager"))
            << veltrane_->output();
        EXPECT_TRUE(veltrane_->waitForOutput("Open: 0")) << veltrane_->output();
        // The listener joins its thread just after it opens; nothing tells when.
        std::this_thread::sleep_for(1s);
        tap_ = std::make_unique<VirtualKeyboardTap>();
        editor_ = windows_.show(windows_.create("edit", "EditorMain"));
        viewer_ = windows_.create("viewer", "Viewer");
    }

    ~PerApplicationDesktop() { std::filesystem::remove_all(data_); }

    // The keys the program sends for a hyper chord typed with the application in front, once the
    // key mapping has followed the switch.
    Keys typedIn(bool editor, const std::string& mapping)
    {
        if (editor) {
            windows_.activate(editor_);
        } else if (!viewerShown_) {
            windows_.show(viewer_);
            viewerShown_ = true;
        } else {
            windows_.activate(viewer_);
        }
        EXPECT_TRUE(veltrane_->waitForOutput(mapping)) << veltrane_->output();
        std::this_thread::sleep_for(500ms);
        keyboard_.key(KEY_CAPSLOCK, true);
        keyboard_.tap(KEY_A);
        keyboard_.key(KEY_CAPSLOCK, false);
        return tap_->keys();
    }

private:
    const std::filesystem::path data_ = "/tmp/per-application-data";
    desktoptest::XvfbServer server_;
    desktoptest::OpenboxProcess openbox_{server_.display(), "/tmp/openbox-home"};
    desktoptest::TestWindows windows_{server_.display()};
    UinputKeyboard keyboard_{"Test Keyboard", UinputKeyboard::Bus::usb, 0x046D, 0xC31C};
    std::unique_ptr<VeltraneProcess> veltrane_;
    std::unique_ptr<VirtualKeyboardTap> tap_;
    xcb_window_t editor_ = XCB_NONE;
    xcb_window_t viewer_ = XCB_NONE;
    bool viewerShown_ = false;
};

// Standing aside, the engine lets go of caps lock below the event level too, and caps lock reaches
// applications as itself.
TEST(PerApplicationKernelTest, TheEngineStandsAsideInTheApplicationsOfTheListAndOnlyThere)
{
    PerApplicationDesktop desktop(R"({"keyRemap": true, "disabledApps": "[\"org.example.Editor\"]"})");
    EXPECT_EQ(desktop.typedIn(true, kAside), kPlain);
    EXPECT_EQ(desktop.typedIn(false, kEngaged), kChord);
    EXPECT_EQ(desktop.typedIn(true, kAside), kPlain);
}

TEST(PerApplicationKernelTest, InAllowListModeTheEngineWorksOnlyInTheApplicationsOfTheList)
{
    PerApplicationDesktop desktop(
        R"({"keyRemap": true, "whitelist": true, "enabledApps": "[\"org.example.Editor\"]"})");
    EXPECT_EQ(desktop.typedIn(false, kAside), kPlain);
    EXPECT_EQ(desktop.typedIn(true, kEngaged), kChord);
}

}  // namespace
}  // namespace veltrane::kernel
