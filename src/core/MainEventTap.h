#pragma once

#include "core/Defaults.h"
#include "core/HyperCGEventProcessor.h"
#include "platform/Platform.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace veltrane {

// Owns the one event tap of the application: created from the event mask, kept enabled,
// re-created when the mask changes, switched off while the frontmost application wants the
// engine to stand aside, restarted when the system disables it. Without a tap the engine cannot
// work, so failing to create one ends the program after telling the user what to do.
class MainEventTap {
public:
    // Opens the settings page where the user grants the permission to watch input.
    using OpenPermissionSettings = std::function<void()>;

    // The tap's gesture events go to the gesture handler; when no tap can be made, the user is sent
    // to the permission settings.
    MainEventTap(const platform::Platform& platform, Defaults& defaults, const HyperFlags& hyperFlags,
                 HyperCGEventProcessor::GestureHandler gestures = {},
                 OpenPermissionSettings openPermissionSettings = {});
    ~MainEventTap();
    MainEventTap(const MainEventTap&) = delete;
    MainEventTap& operator=(const MainEventTap&) = delete;

    void createTap(platform::EventMask eventMask);
    void restartListening();
    platform::EventMask currentEventMask() const { return currentEventMask_; }

private:
    void callback(platform::EventType type, platform::Event& event);
    void updateEventMask();
    void frontmostAppToggle(const std::any& object);
    // Ends the process.
    void failToCreate();

    const platform::Platform& platform_;
    Defaults& defaults_;
    OpenPermissionSettings openPermissionSettings_;
    HyperCGEventProcessor eventProcessor_;
    std::shared_ptr<platform::EventTap> eventTap_;
    platform::EventMask currentEventMask_;
    platform::NotificationCenter::Token maskObserver_;
    platform::NotificationCenter::Token frontmostObserver_;
};

}  // namespace veltrane
