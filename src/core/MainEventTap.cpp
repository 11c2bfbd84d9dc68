#include "core/MainEventTap.h"

#include "core/EventMask.h"
#include "core/Notifications.h"
#include "logging/Log.h"

namespace veltrane {

namespace {

constexpr const char* kFailureTitle = "Unable to listen to device input";

bool isDisabledNotice(platform::EventType type)
{
    return static_cast<std::uint32_t>(type) > 0x7FFFFFFEu;
}

}  // namespace

MainEventTap::MainEventTap(const platform::Platform& platform, Defaults& defaults,
                           const HyperFlags& hyperFlags, HyperCGEventProcessor::GestureHandler gestures,
                           OpenPermissionSettings openPermissionSettings)
    : platform_(platform), defaults_(defaults), openPermissionSettings_(std::move(openPermissionSettings)),
      eventProcessor_(hyperFlags, defaults, std::move(gestures)),
      currentEventMask_(EventMask::compute(defaults)),
      maskObserver_(platform.notificationCenter.observe(Notifications::kUpdateEventMask,
                                                        [this](const std::any&) { updateEventMask(); })),
      frontmostObserver_(platform.notificationCenter.observe(
          Notifications::kFrontmostAppToggle, [this](const std::any& object) { frontmostAppToggle(object); }))
{
}

MainEventTap::~MainEventTap()
{
    platform_.notificationCenter.removeObserver(maskObserver_);
    platform_.notificationCenter.removeObserver(frontmostObserver_);
}

void MainEventTap::createTap(platform::EventMask eventMask)
{
    if (eventMask == 0) {
        return;
    }
    eventTap_ = platform_.eventTaps.createTap(
        eventMask, [this](platform::EventType type, platform::Event& event) { callback(type, event); });
    if (!eventTap_) {
        failToCreate();
        return;
    }
    eventTap_->enable(true);
}

void MainEventTap::failToCreate()
{
    platform_.alerts.showAlert(kFailureTitle, platform_.system.permissionHelp().tapAlertText, "OK");
    if (openPermissionSettings_) {
        openPermissionSettings_();
    }
    platform_.systemLog.write(platform::SystemLogLevel::error,
                              "com-marrowind-Veltrane Failed to create event tap. Exiting program");
    platform_.system.exit(1);
}

void MainEventTap::callback(platform::EventType type, platform::Event& event)
{
    if (type == platform::EventType::tapDisabledByUserInput) {
        return;
    }
    if (isDisabledNotice(type)) {
        LOGGING_INFO("ET Err, restarting");
        restartListening();
        return;
    }
    eventProcessor_.process(event);
}

void MainEventTap::restartListening()
{
    if (!eventTap_) {
        createTap(currentEventMask_);
    } else if (eventTap_->isEnabled()) {
        LOGGING_INFO("ET already enabled");
    } else {
        LOGGING_INFO("ET exists but is not enabled. Enabling it");
        eventTap_->enable(true);
    }
}

void MainEventTap::updateEventMask()
{
    currentEventMask_ = EventMask::compute(defaults_);
    if (eventTap_) {
        eventTap_->invalidate();
    }
    createTap(currentEventMask_);
}

void MainEventTap::frontmostAppToggle(const std::any& object)
{
    const auto* standAside = std::any_cast<bool>(&object);
    if (standAside == nullptr) {
        return;
    }
    if (*standAside) {
        if (eventTap_ && eventTap_->isEnabled()) {
            eventTap_->enable(false);
        }
    } else if (eventTap_) {
        eventTap_->enable(true);
    } else {
        createTap(currentEventMask_);
    }
}

}  // namespace veltrane
