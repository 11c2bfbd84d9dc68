#include "UinputKeyboard.h"
#include "UinputTouchpad.h"
#include "VeltraneProcess.h"
#include "x11/XScreen.h"
#include "x11/XembedTray.h"
#include "x11/XvfbServer.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QSize>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <thread>

namespace veltrane::kernel {
namespace {

using std::chrono::milliseconds;

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr xcb_keysym_t kDown = 0xff54;
constexpr xcb_keysym_t kRight = 0xff53;
constexpr xcb_keysym_t kReturn = 0xff0d;
constexpr xcb_keysym_t kEscape = 0xff1b;
// Painting under emulation is slow; a window counts as drawn once two looks a while apart agree.
constexpr milliseconds kSettle(400);
constexpr milliseconds kPatience(30000);

// Where the pictures go: the machine's folder that is copied out, or one beside the test.
std::filesystem::path screenshotFolder()
{
    const char* out = std::getenv("KERNEL_VM_OUT");
    std::filesystem::path folder = out ? out : "shell-screenshots";
    std::filesystem::create_directories(folder);
    return folder;
}

// A picture of nothing has a single colour, or nearly: a drawn window has text and edges.
bool blank(const QImage& image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < 4; y += 2) {
        for (int x = 0; x < image.width() && colours.size() < 4; x += 2) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours.size() < 4;
}

void expectSize(const XScreen::Window& window, int minimumWidth, int minimumHeight)
{
    EXPECT_GE(window.rect.width(), minimumWidth) << window.title;
    EXPECT_GE(window.rect.height(), minimumHeight) << window.title;
    EXPECT_LE(window.rect.width(), kScreenWidth) << window.title;
    EXPECT_LE(window.rect.height(), kScreenHeight) << window.title;
}

class Desktop {
public:
    // Without a tray, with settings that a first start has: none.
    explicit Desktop(bool withTray = true)
        : tray_(withTray ? std::optional<XembedTray>(std::in_place, server_.display(), kScreenWidth)
                         : std::nullopt),
          screen_(server_.display()),
          veltrane_(withTray ? R"({"keyRemap": true, "keyMenuBarIcon": true})" : "", {}, std::nullopt,
                    {"DISPLAY=" + server_.display(), "HOME=/tmp", "XDG_RUNTIME_DIR=" + runtimeFolder()})
    {
    }

    // The windows shown, for a failure's message, with a picture of the whole screen beside them.
    std::string describe()
    {
        shoot({0, 0, kScreenWidth, kScreenHeight}, "screen-at-failure");
        std::string text = "windows shown:\n";
        for (const auto& window : screen_.windows()) {
            const QRect& at = window.rect;
            text += "  \"" + window.title + "\" at " + std::to_string(at.x()) + "," + std::to_string(at.y()) +
                    " " + std::to_string(at.width()) + "x" + std::to_string(at.height()) + "\n";
        }
        return text + "the program said:\n" + veltrane_.output();
    }

    XembedTray& tray() { return *tray_; }
    XScreen& screen() { return screen_; }
    VeltraneProcess& veltrane() { return veltrane_; }

    // The window that appears after the step, drawn, or nothing after a long wait.
    std::optional<XScreen::Window> open(const std::function<void()>& step, const std::string& title = "")
    {
        std::set<xcb_window_t> before;
        for (const auto& window : screen_.windows()) {
            before.insert(window.id);
        }
        step();
        const auto end = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < end) {
            for (const auto& window : screen_.windows()) {
                if (!before.contains(window.id) && (title.empty() || window.title == title) &&
                    drawn(window.rect)) {
                    return window;
                }
            }
            std::this_thread::sleep_for(milliseconds(100));
        }
        return std::nullopt;
    }

    // Saves what the screen shows there as NAME.png; the picture, for the test to look at.
    QImage shoot(const QRect& rect, const std::string& name)
    {
        QImage picture = screen_.grab(rect);
        picture.save(QString::fromStdString((screenshotFolder() / (name + ".png")).string()), "PNG");
        return picture;
    }

    // The window the menu item the keys reach opens: there, at least that large, drawn, and saved as
    // NAME.png.
    std::optional<XScreen::Window> openFromMenu(std::initializer_list<xcb_keysym_t> keys,
                                                const std::string& title, QSize least,
                                                const std::string& name)
    {
        const auto window = open([&] { openTrayMenu(keys); }, title);
        if (!window) {
            ADD_FAILURE() << name << " did not open\n" << describe();
            return std::nullopt;
        }
        expectSize(*window, least.width(), least.height());
        shoot(window->rect, name);
        return window;
    }

    // The tray menu, at least 120 x 80 and saved as tray-menu.png, used with the keys until it closes.
    void openTrayMenu(std::initializer_list<xcb_keysym_t> keys)
    {
        const auto icon = tray_->waitForIcon(kPatience);
        ASSERT_TRUE(icon);
        const auto menu = open([&] { screen_.click(icon->center().x(), icon->center().y()); });
        ASSERT_TRUE(menu) << describe();
        expectSize(*menu, 120, 80);
        shoot(menu->rect, "tray-menu");
        for (const xcb_keysym_t key : keys) {
            screen_.type(key);
        }
        waitUntilGone(menu->id);
    }

    // A click that comes while a menu is still closing only finishes closing it.
    void waitUntilGone(xcb_window_t id)
    {
        const auto end = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < end &&
               std::ranges::any_of(screen_.windows(), [id](const auto& window) { return window.id == id; })) {
            std::this_thread::sleep_for(milliseconds(100));
        }
    }

private:
    static std::string runtimeFolder()
    {
        std::filesystem::create_directories("/tmp/runtime");
        std::filesystem::permissions("/tmp/runtime", std::filesystem::perms::owner_all);
        return "/tmp/runtime";
    }

    bool drawn(const QRect& rect)
    {
        const QImage first = screen_.grab(rect);
        std::this_thread::sleep_for(kSettle);
        return !blank(first) && first == screen_.grab(rect);
    }

    desktoptest::XvfbServer server_{kScreenWidth, kScreenHeight};
    std::optional<XembedTray> tray_;
    XScreen screen_;
    VeltraneProcess veltrane_;
};

// The real program on an X desktop with a tray, used as a person would: every window it has is
// opened from its tray menu, photographed for a reviewer, and checked to be there and drawn.
TEST(ShellScreenshotTest, EveryWindowOpensFromTheTrayItem)
{
    UinputKeyboard keyboard("Test Keyboard", UinputKeyboard::Bus::usb, 0x046D, 0xC31C);
    Desktop desktop;
    auto& veltrane = desktop.veltrane();
    ASSERT_TRUE(veltrane.waitForOutput("Open: 0", kPatience)) << veltrane.output();
    const auto icon = desktop.tray().waitForIcon(kPatience);
    ASSERT_TRUE(icon) << "no tray icon docked\n" << desktop.describe();
    std::printf("shell %s\n", veltrane.idle(std::chrono::seconds(2)).describe().c_str());
    const QImage idle = desktop.shoot(desktop.tray().area(), "tray");
    EXPECT_FALSE(blank(desktop.screen().grab(*icon)));

    // The icon fills while the hyper key is held, and empties again.
    keyboard.key(KEY_CAPSLOCK, true);
    std::this_thread::sleep_for(milliseconds(1500));
    EXPECT_NE(desktop.shoot(desktop.tray().area(), "tray-hyper"), idle);
    keyboard.key(KEY_CAPSLOCK, false);
    std::this_thread::sleep_for(milliseconds(1500));
    EXPECT_EQ(desktop.screen().grab(desktop.tray().area()), idle);

    ASSERT_NO_FATAL_FAILURE(desktop.openTrayMenu({kEscape}));

    ASSERT_TRUE(
        desktop.openFromMenu({kDown, kDown, kReturn}, "Veltrane Preferences", {400, 400}, "preferences"));
    ASSERT_TRUE(desktop.openFromMenu({kDown, kDown, kDown, kReturn}, "About Veltrane", {200, 100}, "about"));

    const auto log =
        desktop.openFromMenu({kDown, kDown, kDown, kDown, kRight, kDown, kReturn}, "Log", {300, 200}, "log");
    ASSERT_TRUE(log);
    // Lines come while it is open: a keyboard plugged in now shows in it.
    const QImage empty = desktop.screen().grab(log->rect);
    UinputKeyboard second("Second Keyboard", UinputKeyboard::Bus::usb, 0x046D, 0xC52B);
    ASSERT_TRUE(veltrane.waitForOutput("Keyboard connected: Second Keyboard", kPatience))
        << desktop.describe();
    std::this_thread::sleep_for(milliseconds(1500));
    EXPECT_NE(desktop.shoot(log->rect, "log"), empty);

    // The viewer explains itself once, then opens a window for a touchpad at its first touch, with
    // the fingers on it drawn.
    UinputTouchpad touchpad("Test Touchpad");
    ASSERT_TRUE(veltrane.waitForOutput("Touchpad connected: Test Touchpad", kPatience)) << desktop.describe();
    ASSERT_TRUE(desktop.openFromMenu({kDown, kDown, kDown, kDown, kRight, kReturn}, "", {200, 80},
                                     "viewer-explanation"));
    desktop.screen().type(kReturn);
    const auto viewer = desktop.open(
        [&] {
            touchpad.touch(0, 300, 250);
            touchpad.touch(1, 800, 500);
        },
        "Touch Viewer");
    ASSERT_TRUE(viewer) << desktop.describe();
    // The pad is 100 by 66 mm: the window has its shape.
    expectSize(*viewer, 250, 150);
    desktop.shoot(viewer->rect, "viewer");
    touchpad.lift(1);
    touchpad.lift(0);

    veltrane.signal(SIGTERM);
    EXPECT_EQ(veltrane.waitForExit(), 0) << veltrane.output();
}

// A desktop without a tray, as GNOME ships: the log says so, the first start opens the preferences,
// and they say how to open them again.
TEST(ShellScreenshotTest, WithoutATrayTheFirstStartOpensThePreferences)
{
    UinputKeyboard keyboard("Test Keyboard", UinputKeyboard::Bus::usb, 0x046D, 0xC31C);
    Desktop desktop(false);
    const auto preferences = desktop.open([] {}, "Veltrane Preferences");
    ASSERT_TRUE(preferences) << desktop.describe();
    expectSize(*preferences, 400, 400);
    desktop.shoot(preferences->rect, "preferences-without-tray");
    EXPECT_TRUE(desktop.veltrane().waitForOutput("This desktop shows no tray", kPatience))
        << desktop.describe();
}

}  // namespace
}  // namespace veltrane::kernel
