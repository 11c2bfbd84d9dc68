#pragma once

#include "app/ApplicationToggle.h"
#include "app/StatusItem.h"
#include "core/Defaults.h"
#include "core/HyperFlags.h"
#include "core/KeyPresser.h"
#include "keyboard/HidRemap.h"
#include "keyboard/KeyRemap.h"
#include "keyboard/KeyboardHID.h"
#include "platform/Platform.h"

#include <atomic>

namespace veltrane {

// The one instance of each long-lived object that the delegate, the menus and the windows share
// for the whole run: the settings, the hyper state, the key presser, the status item, the key
// mapping and the hyper key listener. Made in this order, before anything of the delegate.
class SharedInstances {
public:
    explicit SharedInstances(const platform::Platform& platform)
        : defaults_(platform.userDefaults), hyperFlags_(defaults_), keyPresser_(platform.eventPoster),
          statusItem_(platform, defaults_), hidRemap_(platform, defaults_),
          keyboardHID_(platform, defaults_, hyperFlags_, keyPresser_, hidRemap_, statusItem_)
    {
    }
    SharedInstances(const SharedInstances&) = delete;
    SharedInstances& operator=(const SharedInstances&) = delete;

    Defaults& defaults() { return defaults_; }
    HyperFlags& hyperFlags() { return hyperFlags_; }
    KeyPresser& keyPresser() { return keyPresser_; }
    StatusItem& statusItem() { return statusItem_; }
    HidRemap& hidRemap() { return hidRemap_; }
    KeyboardHID& keyboardHID() { return keyboardHID_; }
    // The per-application switch, made when the engine starts: nothing before. Read on other
    // threads too (the frame handler's).
    ApplicationToggle* applicationToggle() const
    {
        return applicationToggle_.load(std::memory_order_acquire);
    }
    void setApplicationToggle(ApplicationToggle* toggle)
    {
        applicationToggle_.store(toggle, std::memory_order_release);
    }
    // Puts the key mapping the settings say on the keyboards, unless the engine stands aside for
    // the application in front: there caps lock and the hyper key must stay plain keys, whatever
    // setting changes meanwhile; the switch to the next application applies the mapping then.
    void applyKeyMapping()
    {
        const auto* toggle = applicationToggle();
        if (toggle == nullptr || !toggle->disabledForApp()) {
            KeyRemap::applyKeyMapping(hidRemap_, defaults_);
        }
    }

private:
    Defaults defaults_;
    HyperFlags hyperFlags_;
    KeyPresser keyPresser_;
    StatusItem statusItem_;
    HidRemap hidRemap_;
    KeyboardHID keyboardHID_;
    std::atomic<ApplicationToggle*> applicationToggle_{nullptr};
};

}  // namespace veltrane
