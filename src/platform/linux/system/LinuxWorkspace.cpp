#include "platform/linux/system/LinuxWorkspace.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace veltrane::linuxbackend {

namespace {

using platform::WorkspaceNotification;

// "scheme:" first, as URLs begin: a letter, then letters, digits, "+", "-" or ".".
bool hasScheme(const std::string& url)
{
    const auto colon = url.find(':');
    if (colon == 0 || colon == std::string::npos || std::isalpha(static_cast<unsigned char>(url[0])) == 0) {
        return false;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(url[i]);
        if (std::isalnum(c) == 0 && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return colon + 1 < url.size();
}

bool executable(const std::string& path)
{
    return ::access(path.c_str(), X_OK) == 0;
}

bool onPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (!folder.empty() && executable(folder + "/" + program)) {
            return true;
        }
    }
    return false;
}

}  // namespace

LinuxWorkspace::LinuxWorkspace(platform::Queue& mainQueue, Launch launch, Running running)
    : mainQueue_(mainQueue), launch_(std::move(launch)), running_(std::move(running))
{
}

// Nothing in front (the last window closed, the desktop itself focused, a watcher that gave up) is
// no application at all, which an observer takes for a missing notice and ignores: it is told as an
// application without an identifier, for which nothing is disabled.
void LinuxWorkspace::applicationActivated(const std::optional<platform::RunningApplication>& application)
{
    mainQueue_.async([this, application] {
        {
            const std::lock_guard lock(mutex_);
            frontmost_ = application;
        }
        notify(WorkspaceNotification::didActivateApplication,
               application.value_or(platform::RunningApplication{}));
    });
}

void LinuxWorkspace::announce(WorkspaceNotification notification)
{
    if (notification == WorkspaceNotification::willSleep) {
        notify(notification, std::nullopt);
        return;
    }
    mainQueue_.async([this, notification] { notify(notification, std::nullopt); });
}

std::optional<platform::RunningApplication> LinuxWorkspace::frontmostApplication() const
{
    const std::lock_guard lock(mutex_);
    return frontmost_;
}

bool LinuxWorkspace::openURL(const std::string& url)
{
    if (!hasScheme(url) || !onPath("xdg-open")) {
        return false;
    }
    launch_("xdg-open", {url});
    return true;
}

void LinuxWorkspace::openApplication(const std::string& path, const std::vector<std::string>& arguments,
                                     OpenCompletion completion)
{
    std::optional<std::string> error;
    if (executable(path)) {
        launch_(path, arguments);
    } else {
        error = "cannot open " + path + ": it is not a program this user may run";
    }
    mainQueue_.async([error, completion = std::move(completion)] { completion(error); });
}

platform::Workspace::Token LinuxWorkspace::observe(WorkspaceNotification notification, Handler handler)
{
    return observers_.add(notification, std::move(handler));
}

void LinuxWorkspace::removeObserver(Token token)
{
    observers_.remove(token);
}

void LinuxWorkspace::notify(WorkspaceNotification notification,
                            const std::optional<platform::RunningApplication>& application)
{
    for (const Token token : observers_.matching([notification](auto key) { return key == notification; })) {
        observers_.call(token, application);
    }
}

}  // namespace veltrane::linuxbackend
