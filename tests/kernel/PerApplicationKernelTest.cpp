#include "UinputKeyboard.h"
#include "VeltraneProcess.h"
#include "VirtualKeyboardTap.h"
#include "wayland/SwayCompositor.h"
#include "x11/OpenboxProcess.h"
#include "x11/TestWindows.h"
#include "x11/XvfbServer.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <sys/mount.h>

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

// Two applications to switch between on each desktop: an editor its desktop entry names (by its
// window class on X, by its id on Wayland), and a viewer known by its window only.
constexpr const char* kEditorEntry =
    "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor\nStartupWMClass=EditorMain\n";

// An X desktop under openbox.
class X11Desktop {
public:
    static constexpr const char* kName = "X11";
    static constexpr const char* kSource = "the X11 window manager";

    X11Desktop() { EXPECT_TRUE(windows_.waitForWindowManager(60s)) << "openbox did not start"; }

    std::vector<std::string> environment() const { return {"DISPLAY=" + server_.display()}; }

    void showEditor()
    {
        editor_ = windows_.show(windows_.create("edit", "EditorMain"));
        viewer_ = windows_.create("viewer", "Viewer");
    }

    // The viewer first, from behind the editor: nothing is in front after.
    void closeAll()
    {
        windows_.destroy(viewer_);
        windows_.destroy(editor_);
    }

    void bringToFront(bool editor)
    {
        if (editor) {
            windows_.activate(editor_);
        } else if (!viewerShown_) {
            windows_.show(viewer_);
            viewerShown_ = true;
        } else {
            windows_.activate(viewer_);
        }
    }

private:
    desktoptest::XvfbServer server_;
    desktoptest::OpenboxProcess openbox_{server_.display(), "/tmp/openbox-home"};
    desktoptest::TestWindows windows_{server_.display()};
    xcb_window_t editor_ = XCB_NONE;
    xcb_window_t viewer_ = XCB_NONE;
    bool viewerShown_ = false;
};

// A headless sway, which maps and focuses each window as it opens.
class WaylandDesktop {
public:
    static constexpr const char* kName = "Wayland";
    static constexpr const char* kSource = "the Wayland compositor's window list";

    // The terminal that shows the windows runs its command on a pseudo-terminal, which the machine
    // has once a devpts is mounted.
    WaylandDesktop()
    {
        std::filesystem::create_directories("/dev/pts");
        EXPECT_EQ(::mount("devpts", "/dev/pts", "devpts", 0, nullptr), 0);
    }

    std::vector<std::string> environment() const { return {"WAYLAND_DISPLAY=" + sway_.display()}; }

    void showEditor() { editor_ = sway_.open(kEditor); }

    void closeAll()
    {
        viewer_.reset();
        editor_.reset();
    }

    void bringToFront(bool editor)
    {
        if (!editor && !viewer_) {
            viewer_ = sway_.open(kViewer);
            return;
        }
        const std::string appId = editor ? kEditor : kViewer;
        EXPECT_TRUE(sway_.command("[app_id=\"" + appId + "\"] focus")) << "sway did not focus " << appId;
    }

private:
    static constexpr const char* kEditor = "org.example.Editor";
    static constexpr const char* kViewer = "example-viewer";

    desktoptest::SwayCompositor sway_;
    std::unique_ptr<testsupport::ChildProcess> editor_;
    std::unique_ptr<testsupport::ChildProcess> viewer_;
};

// The real program on a desktop, and a keyboard.
template <typename Desktop> class PerApplicationKernelTest : public ::testing::Test {
protected:
    void start(const std::string& settings)
    {
        std::filesystem::create_directories(data_ / "applications");
        std::ofstream(data_ / "applications" / "org.example.Editor.desktop") << kEditorEntry;
        auto environment = desktop_.environment();
        environment.insert(environment.end(),
                           {"HOME=/tmp", "XDG_DATA_HOME=" + data_.string(), "XDG_DATA_DIRS=/nonexistent"});
        veltrane_ = std::make_unique<VeltraneProcess>(settings, std::vector<std::string>{"--headless"},
                                                      std::nullopt, environment);
        EXPECT_TRUE(
            veltrane_->waitForOutput(std::string("The frontmost application comes from ") + Desktop::kSource))
            << veltrane_->output();
        EXPECT_TRUE(veltrane_->waitForOutput("Open: 0")) << veltrane_->output();
        // The listener joins its thread just after it opens; nothing tells when.
        std::this_thread::sleep_for(1s);
        tap_ = std::make_unique<VirtualKeyboardTap>();
        desktop_.showEditor();
    }

    void TearDown() override { std::filesystem::remove_all(data_); }

    // Brings the application to the front and waits until the key mapping has followed.
    void bringToFront(bool editor, const char* mapping)
    {
        desktop_.bringToFront(editor);
        EXPECT_TRUE(veltrane_->waitForOutput(mapping)) << veltrane_->output();
    }

    // The keys the program sends for a hyper chord typed with the application in front.
    Keys typedIn(bool editor, const char* mapping)
    {
        bringToFront(editor, mapping);
        return chord();
    }

    Keys chord()
    {
        std::this_thread::sleep_for(500ms);
        keyboard_.key(KEY_CAPSLOCK, true);
        keyboard_.tap(KEY_A);
        keyboard_.key(KEY_CAPSLOCK, false);
        return tap_->keys();
    }

    Desktop desktop_;
    UinputKeyboard keyboard_{"Test Keyboard", UinputKeyboard::Bus::usb, 0x046D, 0xC31C};
    std::unique_ptr<VeltraneProcess> veltrane_;
    std::unique_ptr<VirtualKeyboardTap> tap_;

private:
    const std::filesystem::path data_ = "/tmp/per-application-data";
};

struct DesktopName {
    template <typename Desktop> static std::string GetName(int) { return Desktop::kName; }
};

using Desktops = ::testing::Types<X11Desktop, WaylandDesktop>;
TYPED_TEST_SUITE(PerApplicationKernelTest, Desktops, DesktopName);

// Standing aside, the engine lets go of caps lock below the event level too, and caps lock reaches
// applications as itself. The lists are written while the program runs: first in allow-list mode,
// where the engine works only in the applications listed, then in the usual mode, where it stands
// aside in them. A hyper key let go in an application of the list leaves nothing held; with nothing
// in front, the engine works.
TYPED_TEST(PerApplicationKernelTest, TheEngineStandsAsideWhereItsListsSayAndNowhereElse)
{
    this->start(R"({"keyRemap": true})");
    this->veltrane_->writeSettings(
        R"({"keyRemap": true, "whitelist": true, "enabledApps": "[\"org.example.Editor\"]"})");
    EXPECT_EQ(this->typedIn(false, kAside), kPlain);
    EXPECT_EQ(this->typedIn(true, kEngaged), kChord);

    this->veltrane_->writeSettings(R"({"keyRemap": true, "disabledApps": "[\"org.example.Editor\"]"})");
    EXPECT_EQ(this->typedIn(true, kAside), kPlain);
    EXPECT_EQ(this->typedIn(false, kEngaged), kChord);
    this->keyboard_.key(KEY_CAPSLOCK, true);
    this->bringToFront(true, kAside);
    this->keyboard_.key(KEY_CAPSLOCK, false);
    this->bringToFront(false, kEngaged);
    this->tap_->keys();
    this->keyboard_.tap(KEY_A);
    EXPECT_EQ(this->tap_->keys(), (Keys{"+a", "-a"}));
    EXPECT_EQ(this->typedIn(true, kAside), kPlain);
    // Every window closed, the editor's last.
    this->desktop_.closeAll();
    EXPECT_TRUE(this->veltrane_->waitForOutput(kEngaged)) << this->veltrane_->output();
    EXPECT_EQ(this->chord(), kChord);
}

}  // namespace
}  // namespace veltrane::kernel
