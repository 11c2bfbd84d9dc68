#pragma once

#include "ChildProcess.h"
#include "Eventually.h"
#include "TemporaryFolder.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrane::desktoptest {

// A headless sway of the test's own, in a runtime folder of its own so that tests run side by side.
// It refuses to run as root, so it runs as user nobody.
class SwayCompositor {
public:
    // Throws std::runtime_error, with sway's output, when it does not start within seconds.
    SwayCompositor()
    {
        if (::chown(folder_.path().c_str(), kNobody, kNobody) != 0) {
            throw std::runtime_error("cannot hand " + folder_.path().string() + " to nobody");
        }
        std::ofstream(folder_ / "config") << "output HEADLESS-1 resolution 800x600\nxwayland disable\n";
        const auto folder = folder_.path().string();
        const auto log = (folder_ / "sway.log").string();
        sway_.emplace(
            std::vector<std::string>{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "sway",
                                     "-c", (folder_ / "config").string()},
            testsupport::ChildProcess::Options{
                .environment = std::vector<std::string>{"WLR_BACKENDS=headless", "WLR_LIBINPUT_NO_DEVICES=1",
                                                        "WLR_RENDERER=pixman", "HOME=" + folder,
                                                        "XDG_RUNTIME_DIR=" + folder, "PATH=/usr/bin:/bin"},
                .output = log,
                .errorsToOutput = true});
        const auto ready = [this] { return sway_->status() || socketsFound(); };
        if (!testsupport::eventually(ready, std::chrono::seconds(15)) || sway_->status()) {
            throw std::runtime_error("sway did not start: " + testsupport::TemporaryFolder::read(log));
        }
    }

    // The path of its Wayland socket.
    std::string display() const { return display_.string(); }
    // Runs a sway command such as a focus; false when sway refused it.
    bool command(const std::string& command) const
    {
        const auto line = "timeout 10 swaymsg -s '" + ipc_.string() + "' '" + command + "' >/dev/null";
        return std::system(line.c_str()) == 0;
    }
    // Kills sway, as a crash of the compositor would end it for its clients.
    void stop() { sway_->stop(); }

    // A window of that app_id, titled otherwise so that a watcher mixing up the two shows it, once
    // sway has mapped it (and so focused it): Debian's terminal foot, running only a wait. Ending the
    // process closes the window; throws when no window comes within seconds.
    std::unique_ptr<testsupport::ChildProcess> open(const std::string& appId) const
    {
        auto window = std::make_unique<testsupport::ChildProcess>(
            std::vector<std::string>{"foot", "--app-id=" + appId, "--title=A window of " + appId, "sleep",
                                     "600"},
            testsupport::ChildProcess::Options{
                .environment = std::vector<std::string>{"WAYLAND_DISPLAY=" + display(), "PATH=/usr/bin:/bin"},
                .output = "/dev/null",
                .errors = "/dev/null",
                .stopSignal = SIGTERM});
        // A command about the window's criteria fails while sway knows no window that meets them.
        if (!testsupport::eventually([&] { return command("[app_id=\"" + appId + "\"] nop"); },
                                     std::chrono::seconds(30))) {
            throw std::runtime_error("sway shows no window of " + appId);
        }
        return window;
    }

private:
    static constexpr uid_t kNobody = 65534;

    bool socketsFound()
    {
        for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
            const auto name = entry.path().filename().string();
            if (name.starts_with("wayland-") && !name.ends_with(".lock")) {
                display_ = entry.path();
            } else if (name.starts_with("sway-ipc.") && name.ends_with(".sock")) {
                ipc_ = entry.path();
            }
        }
        return !display_.empty() && !ipc_.empty();
    }

    testsupport::TemporaryFolder folder_;
    std::optional<testsupport::ChildProcess> sway_;
    std::filesystem::path display_;
    std::filesystem::path ipc_;
};

}  // namespace veltrane::desktoptest
