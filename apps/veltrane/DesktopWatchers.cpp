#include "DesktopWatchers.h"

#include "DisplayServer.h"

namespace veltrane {

namespace {

using platform::WorkspaceNotification;

}  // namespace

DesktopWatchers::DesktopWatchers(linuxbackend::Reactor& reactor, Sinks sinks)
    : reactor_(reactor), sinks_(std::move(sinks))
{
    watchFrontmost();
    logind_ = std::make_unique<linuxbackend::LogindMonitor>(
        reactor_, linuxbackend::LogindMonitor::Callbacks{
                      .willSleep = [this] { sinks_.announce(WorkspaceNotification::willSleep); },
                      .didWake = [this] { sinks_.announce(WorkspaceNotification::didWake); },
                      .sessionDidBecomeActive =
                          [this] { sinks_.announce(WorkspaceNotification::sessionDidBecomeActive); },
                      .log = sinks_.log});
}

void DesktopWatchers::watchFrontmost()
{
    const auto entries = std::make_shared<const linuxbackend::DesktopEntries>();
    const auto changed = [this](const auto& application) { sinks_.activated(application); };
    const auto server = sessionDisplayServer();
    if (server == DisplayServer::wayland) {
        wayland_ = std::make_unique<linuxbackend::WlrActiveApplication>(
            reactor_, std::nullopt,
            [entries](const std::string& appId) -> std::optional<platform::RunningApplication> {
                const auto entry = entries->forWindowClass(appId, appId);
                return entry ? std::optional(platform::RunningApplication{entry->id, entry->name})
                             : std::nullopt;
            },
            changed);
        frontmostProblem_ = wayland_->problem();
    } else if (server == DisplayServer::x11) {
        x11_ = std::make_unique<linuxbackend::X11ActiveApplication>(reactor_, "", entries, changed);
        frontmostProblem_ = x11_->problem();
    } else {
        frontmostProblem_ = kNoDisplayServer;
    }
}

std::vector<std::string>
DesktopWatchers::describe(const linuxbackend::BusDistributedNotificationCenter& bus) const
{
    std::vector<std::string> lines;
    if (!frontmostProblem_.empty()) {
        lines.push_back("The frontmost application is not known here (" + frontmostProblem_ +
                        "): per-application disabling is off");
    } else {
        lines.push_back(std::string("The frontmost application comes from ") +
                        (wayland_ ? "the Wayland compositor's window list" : "the X11 window manager"));
    }
    if (!logind_->available()) {
        lines.push_back("Sleep, wake and session changes are not followed here (" + logind_->problem() + ")");
    } else {
        const auto problem = logind_->problem();
        lines.push_back("Sleep, wake and session changes come from logind" +
                        (problem.empty() ? std::string() : " (" + problem + ")"));
    }
    lines.push_back(bus.problem().empty() ? "The launcher helper is reached on the session bus"
                                          : "The launcher helper cannot be reached (" + bus.problem() + ")");
    return lines;
}

}  // namespace veltrane
