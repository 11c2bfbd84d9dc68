#include "platform/sim/SimMenuItems.h"

#include "platform/sim/QuotedText.h"
#include "platform/sim/Transcript.h"

#include <algorithm>

namespace veltrane::sim {

namespace {

std::optional<std::string> senderOutlet(platform::MenuAction action)
{
    using platform::MenuAction;
    switch (action) {
    case MenuAction::ignoreFrontMostApp:
        return "ignoreMenuItem";
    case MenuAction::launchViewerOnStart:
        return "launchViewerOnStartItem";
    case MenuAction::launchLoggerOnStart:
        return "launchLoggerOnStartItem";
    case MenuAction::toggleRelaunchDelay:
        return "delayRelaunchItem";
    case MenuAction::synthesizeCapsLockRemap:
        return "synthesizeRemapItem";
    case MenuAction::toggleLogToFile:
        return "logToFileItem";
    case MenuAction::toggleLogDebugMessages:
        return "logDebugItem";
    default:
        return std::nullopt;
    }
}

}  // namespace

SimMenuItems::Item& SimMenuItems::touch(const std::string& outlet)
{
    if (std::find(touched_.begin(), touched_.end(), outlet) == touched_.end()) {
        touched_.push_back(outlet);
    }
    return items_[outlet];
}

void SimMenuItems::setTitle(const std::string& outlet, const std::string& title)
{
    touch(outlet).title = title;
}

void SimMenuItems::setState(const std::string& outlet, bool on)
{
    touch(outlet).on = on;
}

void SimMenuItems::setHidden(const std::string& outlet, bool hidden)
{
    touch(outlet).hidden = hidden;
}

void SimMenuItems::open(const std::function<void()>& menuWillOpen)
{
    touched_.clear();
    menuWillOpen();
    for (const std::string& outlet : touched_) {
        record(outlet);
    }
}

void SimMenuItems::record(const std::string& outlet) const
{
    const Item& item = items_.at(outlet);
    if (item.hidden) {
        transcript_.record("menuitem", outlet + " hidden");
        return;
    }
    const std::string title = item.title ? " " + quoted(*item.title) : "";
    transcript_.record("menuitem", outlet + title + (item.on ? " on" : " off"));
}

bool SimMenuItems::isSenderOn(platform::MenuAction action) const
{
    const auto outlet = senderOutlet(action);
    const auto found = outlet ? items_.find(*outlet) : items_.end();
    return found != items_.end() && found->second.on;
}

}  // namespace veltrane::sim
