#include "wayland/SwayCompositor.h"

#include "ArgumentVector.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace veltrane::desktoptest {

namespace {

constexpr uid_t nobody = 65534;

}  // namespace

SwayCompositor::SwayCompositor()
{
    if (::chown(folder_.path().c_str(), nobody, nobody) != 0) {
        throw std::runtime_error("cannot hand " + folder_.path().string() + " to nobody");
    }
    std::ofstream(folder_ / "config") << "output HEADLESS-1 resolution 800x600\nxwayland disable\n";
    start();
    if (!waitForSockets()) {
        stop();
        throw std::runtime_error("sway did not start: " +
                                 testsupport::TemporaryFolder::read(folder_ / "sway.log"));
    }
}

SwayCompositor::~SwayCompositor()
{
    stop();
}

void SwayCompositor::start()
{
    std::vector<std::string> arguments{"setpriv",
                                       "--reuid=65534",
                                       "--regid=65534",
                                       "--clear-groups",
                                       "sway",
                                       "-c",
                                       (folder_ / "config").string()};
    const auto folder = folder_.path().string();
    std::vector<std::string> environment{"WLR_BACKENDS=headless",     "WLR_LIBINPUT_NO_DEVICES=1",
                                         "WLR_RENDERER=pixman",       "HOME=" + folder,
                                         "XDG_RUNTIME_DIR=" + folder, "PATH=/usr/bin:/bin"};
    const auto log = (folder_ / "sway.log").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int failed =
        ::posix_spawnp(&pid_, "setpriv", &actions, nullptr, testsupport::argumentVector(arguments).data(),
                       testsupport::argumentVector(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start sway");
    }
}

bool SwayCompositor::waitForSockets()
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (display_.empty() || ipc_.empty()) {
        if (::waitpid(pid_, nullptr, WNOHANG) != 0) {
            pid_ = -1;
            return false;
        }
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
            const auto name = entry.path().filename().string();
            if (name.starts_with("wayland-") && !name.ends_with(".lock")) {
                display_ = entry.path();
            } else if (name.starts_with("sway-ipc.") && name.ends_with(".sock")) {
                ipc_ = entry.path();
            }
        }
    }
    return true;
}

bool SwayCompositor::command(const std::string& command) const
{
    return std::system(
               ("timeout 10 swaymsg -s '" + ipc_.string() + "' '" + command + "' >/dev/null").c_str()) == 0;
}

void SwayCompositor::stop()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

}  // namespace veltrane::desktoptest
