#include "app/ApplicationToggle.h"

#include "core/Notifications.h"

#include <nlohmann/json.hpp>

namespace veltrane {

ApplicationToggle::ApplicationToggle(const platform::Platform& platform, Defaults& defaults)
    : platform_(platform), defaults_(defaults),
      observer_(platform.workspace.observe(
          platform::WorkspaceNotification::didActivateApplication,
          [this](const auto& application) { receiveFrontAppChangeNote(application); }))
{
    loadLists();
    if (const auto front = platform_.workspace.frontmostApplication()) {
        takeFront(*front);
    }
}

ApplicationToggle::~ApplicationToggle()
{
    platform_.workspace.removeObserver(observer_);
}

void ApplicationToggle::reloadLists()
{
    loadLists();
    decide();
}

void ApplicationToggle::loadLists()
{
    disabledApps_ = load(defaults_.disabledApps());
    enabledApps_ = load(defaults_.enabledApps());
    disabledApps_.insert(kLoginWindow);
}

void ApplicationToggle::receiveFrontAppChangeNote(
    const std::optional<platform::RunningApplication>& application)
{
    if (application) {
        takeFront(*application);
    }
}

void ApplicationToggle::takeFront(const platform::RunningApplication& application)
{
    frontAppId_ = application.bundleIdentifier;
    frontAppName_ = application.localizedName;
    decide();
}

void ApplicationToggle::decide()
{
    bool disabled = false;
    if (frontAppId_) {
        disabled = defaults_.whitelist().isOn() ? !enabledApps_.contains(*frontAppId_)
                                                : disabledApps_.contains(*frontAppId_);
    }
    setDisabledForApp(disabled);
}

void ApplicationToggle::setDisabledForApp(bool disabled)
{
    if (disabled == disabledForApp()) {
        return;
    }
    disabledForApp_.store(disabled, std::memory_order_relaxed);
    platform_.notificationCenter.post(Notifications::kFrontmostAppToggle, disabled);
}

void ApplicationToggle::disableCurrentApplication()
{
    standAsideForFront(true);
}

void ApplicationToggle::enableCurrentApplication()
{
    standAsideForFront(false);
}

void ApplicationToggle::standAsideForFront(bool standAside)
{
    if (!frontAppId_) {
        return;
    }
    // In allow-list mode the engine stands aside for the applications left out of the list.
    const bool allowList = defaults_.whitelist().isOn();
    auto& identifiers = allowList ? enabledApps_ : disabledApps_;
    if (standAside != allowList) {
        identifiers.insert(*frontAppId_);
    } else {
        identifiers.erase(*frontAppId_);
    }
    save(identifiers, allowList ? defaults_.enabledApps() : defaults_.disabledApps());
    setDisabledForApp(standAside);
}

std::set<std::string> ApplicationToggle::load(const StringDefault& setting)
{
    const auto text = setting.value();
    if (!text) {
        return {};
    }
    const auto json = nlohmann::json::parse(*text, nullptr, false);
    if (!json.is_array()) {
        return {};
    }
    std::set<std::string> identifiers;
    for (const auto& element : json) {
        if (!element.is_string()) {
            return {};
        }
        identifiers.insert(element.get<std::string>());
    }
    return identifiers;
}

void ApplicationToggle::save(const std::set<std::string>& identifiers, StringDefault& setting)
{
    try {
        setting.setValue(nlohmann::json(identifiers).dump());
    } catch (const nlohmann::json::exception&) {
        // An identifier that is not UTF-8 cannot be stored; the stored list stays as it was.
    }
}

}  // namespace veltrane
