#include "platform/sim/SimWorkspace.h"

#include "platform/sim/CommandLine.h"
#include "platform/sim/Desktop.h"
#include "platform/sim/DesktopLock.h"

namespace veltrane::sim {

std::optional<platform::RunningApplication> SimWorkspace::frontmostApplication() const
{
    const std::lock_guard guard(desktop_.lock());
    return desktop_.applications().frontmost();
}

std::vector<platform::RunningApplication> SimWorkspace::runningApplications() const
{
    const std::lock_guard guard(desktop_.lock());
    auto applications = desktop_.applications().running();
    if (desktop_.helper().running()) {
        applications.push_back({LauncherHelper::kBundleIdentifier, LauncherHelper::kName});
    }
    return applications;
}

std::optional<std::string> SimWorkspace::urlForApplication(const std::string& bundleIdentifier) const
{
    const std::lock_guard guard(desktop_.lock());
    return desktop_.applications().urlForApplication(bundleIdentifier);
}

bool SimWorkspace::openURL(const std::string& url)
{
    const auto colon = url.find(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    desktop_.transcript().record("open", url);
    return true;
}

void SimWorkspace::openApplication(const std::string& path, const std::vector<std::string>& arguments,
                                   OpenCompletion completion)
{
    const std::lock_guard guard(desktop_.lock());
    desktop_.transcript().record("openapp", commandLine(path, arguments));
    if (path == LauncherHelper::kPath) {
        desktop_.helper().open(process_, arguments, completion);
    } else {
        process_.mainQueue().async([completion = std::move(completion)] { completion(std::nullopt); });
    }
}

platform::Workspace::Token SimWorkspace::observe(platform::WorkspaceNotification notification,
                                                 Handler handler)
{
    return observers_.add(notification, std::move(handler));
}

void SimWorkspace::removeObserver(Token token)
{
    observers_.remove(token);
}

void SimWorkspace::notify(platform::WorkspaceNotification notification,
                          const std::optional<platform::RunningApplication>& application)
{
    const auto matches = [&](platform::WorkspaceNotification key) { return key == notification; };
    for (const Token token : observers_.matching(matches)) {
        process_.mainQueue().async([this, token, application] { observers_.call(token, application); });
    }
}

}  // namespace veltrane::sim
