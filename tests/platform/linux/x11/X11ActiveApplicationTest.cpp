#include "platform/linux/x11/X11ActiveApplication.h"

#include "OpenboxProcess.h"
#include "XvfbProcess.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <thread>
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

template <typename Condition> bool within(std::chrono::seconds limit, Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
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
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    }

    ~X11ActiveApplicationTest() override
    {
        xcb_disconnect(connection);
        std::filesystem::remove_all(folder);
    }

    // Openbox leaves a window mapped while it is still starting where it is: it is ready once it
    // brings one to the front.
    void SetUp() override
    {
        const auto probe = show(window(root, "probe", "Probe"));
        ASSERT_TRUE(within(30s, [&] {
            activate(probe);
            return activeWindow() == probe;
        })) << "openbox did not start";
        xcb_destroy_window(connection, probe);
        xcb_flush(connection);
    }

    void entry(const std::string& id, const std::string& keys) const
    {
        std::ofstream(folder / "applications" / (id + ".desktop")) << "[Desktop Entry]\nType=Application\n"
                                                                   << keys;
    }

    std::unique_ptr<X11ActiveApplication> watch()
    {
        return std::make_unique<X11ActiveApplication>(
            xvfb.display(), std::make_shared<DesktopEntries>(std::vector{folder / "applications"}),
            [this](const std::optional<RunningApplication>& application) {
                const std::lock_guard lock(mutex);
                heard.push_back(described(application));
                arrived.notify_all();
            });
    }

    // What the watch has called back with, once it has done so count times.
    Heard heardAtLeast(std::size_t count)
    {
        std::unique_lock lock(mutex);
        arrived.wait_for(lock, 10s, [&] { return heard.size() >= count; });
        return heard;
    }

    xcb_atom_t atom(const std::string& name)
    {
        const auto cookie =
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str());
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : XCB_NONE;
    }

    xcb_window_t activeWindow()
    {
        const auto cookie =
            xcb_get_property(connection, 0, root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1);
        const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection, cookie, nullptr), &std::free);
        return reply && xcb_get_property_value_length(reply.get()) == 4
                   ? *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()))
                   : XCB_NONE;
    }

    // Not yet shown; without a class, it has no WM_CLASS.
    xcb_window_t window(xcb_window_t parent, const std::string& instance, const std::string& windowClass,
                        std::uint32_t pid = 0)
    {
        const xcb_window_t window = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, parent, 0, 0, 100, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        const std::string value = instance + '\0' + windowClass + '\0';
        if (!windowClass.empty()) {
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING,
                                8, static_cast<std::uint32_t>(value.size()), value.data());
        }
        if (pid != 0) {
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_PID"),
                                XCB_ATOM_CARDINAL, 32, 1, &pid);
        }
        return window;
    }

    xcb_window_t show(xcb_window_t window)
    {
        xcb_map_subwindows(connection, window);
        xcb_map_window(connection, window);
        xcb_flush(connection);
        return window;
    }

    // As a pager asks the window manager.
    void activate(xcb_window_t window)
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = atom("_NET_ACTIVE_WINDOW");
        message.data.data32[0] = 2;
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection);
    }

    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("x11-active-application-test-" + std::to_string(::getpid()));
    XvfbProcess xvfb;
    OpenboxProcess openbox{xvfb.display(), folder / "openbox"};
    xcb_connection_t* connection = xcb_connect(xvfb.display().c_str(), nullptr);
    xcb_window_t root = XCB_NONE;
    std::mutex mutex;
    std::condition_variable arrived;
    Heard heard;
};

TEST_F(X11ActiveApplicationTest, NamesEachApplicationThatComesToTheFrontOnce)
{
    const auto watcher = watch();
    ASSERT_TRUE(watcher->available()) << watcher->problem();
    EXPECT_EQ(watcher->current(), std::nullopt);

    const auto editor = show(window(root, "edit", "EditorMain"));
    heardAtLeast(1);
    const auto secondEditor = show(window(root, "edit", "EditorMain"));
    EXPECT_TRUE(within(10s, [&] { return activeWindow() == secondEditor; }));
    show(window(root, "viewer", "VIEWER"));
    heardAtLeast(2);
    activate(editor);
    heardAtLeast(3);
    show(window(root, "unlisted", "Unlisted", static_cast<std::uint32_t>(::getpid())));
    heardAtLeast(4);
    // A client inside a window of its own, as a frame holds it.
    const auto frame = window(root, "", "");
    window(frame, "stranger", "Stranger");
    show(frame);

    EXPECT_EQ(heardAtLeast(5),
              (Heard{"org.example.Editor named Editor", "viewer named Viewer",
                     "org.example.Editor named Editor", "runner named Runner", "Stranger named Stranger"}));
    EXPECT_EQ(watcher->current(), (RunningApplication{"Stranger", "Stranger"}));
}

TEST_F(X11ActiveApplicationTest, NoWindowInFrontIsNoApplicationAndALostServerEndsTheWatch)
{
    const auto watcher = watch();
    const auto editor = show(window(root, "edit", "EditorMain"));
    heardAtLeast(1);
    xcb_destroy_window(connection, editor);
    xcb_flush(connection);
    EXPECT_EQ(heardAtLeast(2), (Heard{"org.example.Editor named Editor", "nothing"}));

    xvfb.kill();
    EXPECT_TRUE(within(10s, [&] { return !watcher->available(); }));
    EXPECT_THAT(watcher->problem(), ::testing::HasSubstr(xvfb.display()));
    EXPECT_EQ(watcher->current(), std::nullopt);
}

TEST(X11ActiveApplicationWithoutWindowManagerTest, SaysWhyItCannotWork)
{
    const XvfbProcess xvfb;
    const auto entries = std::make_shared<DesktopEntries>(std::vector<std::filesystem::path>{});
    const X11ActiveApplication bare(xvfb.display(), entries, [](const auto&) { FAIL(); });
    EXPECT_FALSE(bare.available());
    EXPECT_THAT(bare.problem(), ::testing::HasSubstr("_NET_ACTIVE_WINDOW"));

    const X11ActiveApplication nowhere(":x", entries, [](const auto&) { FAIL(); });
    EXPECT_FALSE(nowhere.available());
    EXPECT_THAT(nowhere.problem(), ::testing::HasSubstr(":x"));
}

}  // namespace
}  // namespace veltrane::linuxbackend
