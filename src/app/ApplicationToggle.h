#pragma once

#include "core/Defaults.h"
#include "platform/Platform.h"

#include <atomic>
#include <optional>
#include <set>
#include <string>

namespace veltrane {

// Decides whether the engine stands aside for the frontmost application: in the default mode
// for the applications of disabledApps (the login window always among them), in allow-list mode
// for every application not in enabledApps. Each change of the decision is announced with
// "frontmostAppToggle" and the decision as a boolean object.
class ApplicationToggle {
public:
    static constexpr const char* kOwnIdentifier = "com.marrowind.Veltrane";
    static constexpr const char* kLoginWindow = "com.apple.loginwindow";

    ApplicationToggle(const platform::Platform& platform, Defaults& defaults);
    ~ApplicationToggle();
    ApplicationToggle(const ApplicationToggle&) = delete;
    ApplicationToggle& operator=(const ApplicationToggle&) = delete;

    // Read by other threads too.
    bool disabledForApp() const { return disabledForApp_.load(std::memory_order_relaxed); }
    const std::optional<std::string>& frontAppName() const { return frontAppName_; }

    // The menu's per-application item: puts the frontmost application on the list or takes it
    // off. A change of the decision is announced at once, so that the engine follows without
    // waiting for the next application switch.
    void disableCurrentApplication();
    void enableCurrentApplication();
    // The lists or the mode changed in the settings, not through the menu: the lists are read
    // again and the decision follows them.
    void reloadLists();

private:
    void receiveFrontAppChangeNote(const std::optional<platform::RunningApplication>& application);
    void loadLists();
    void takeFront(const platform::RunningApplication& application);
    void decide();
    void setDisabledForApp(bool disabled);
    void standAsideForFront(bool standAside);
    static std::set<std::string> load(const StringDefault& setting);
    static void save(const std::set<std::string>& identifiers, StringDefault& setting);

    const platform::Platform& platform_;
    Defaults& defaults_;
    std::set<std::string> disabledApps_;
    std::set<std::string> enabledApps_;
    std::optional<std::string> frontAppId_ = kOwnIdentifier;
    std::optional<std::string> frontAppName_ = "Veltrane";
    std::atomic<bool> disabledForApp_{false};
    platform::Workspace::Token observer_;
};

}  // namespace veltrane
