#include "MenuActionNames.h"

#include "ScenarioError.h"

#include <map>
#include <string>

namespace veltrane::scenario {

platform::MenuAction parseMenuAction(std::string_view word)
{
    using platform::MenuAction;
    static const std::map<std::string, MenuAction, std::less<>> actions = {
        {"openPreferences", MenuAction::openPreferences},
        {"showAbout", MenuAction::showAbout},
        {"ignoreFrontMostApp", MenuAction::ignoreFrontMostApp},
        {"authorizeAccessibility", MenuAction::authorizeAccessibility},
        {"checkForUpdates", MenuAction::checkForUpdates},
        {"showViewer", MenuAction::showViewer},
        {"showLogging", MenuAction::showLogging},
        {"launchViewerOnStart", MenuAction::launchViewerOnStart},
        {"launchLoggerOnStart", MenuAction::launchLoggerOnStart},
        {"toggleRelaunchDelay", MenuAction::toggleRelaunchDelay},
        {"synthesizeCapsLockRemap", MenuAction::synthesizeCapsLockRemap},
        {"toggleLogToFile", MenuAction::toggleLogToFile},
        {"toggleLogDebugMessages", MenuAction::toggleLogDebugMessages},
        {"quit", MenuAction::quit},
    };
    const auto found = actions.find(word);
    if (found == actions.end()) {
        throw ScenarioError("unknown menu action '" + std::string(word) + "'");
    }
    return found->second;
}

}  // namespace veltrane::scenario
