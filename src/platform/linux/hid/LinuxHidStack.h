#pragma once

#include "platform/HidEventSystem.h"
#include "platform/HidManager.h"
#include "platform/HidUsage.h"
#include "platform/MatchingHidManager.h"
#include "platform/linux/hid/LinuxKeyboard.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace veltrane::linuxbackend {

// The HID side of the program: the grabbed keyboards, the HID managers the application made, and
// the event system's list of services (the keyboards, whose mappings apply in software). The
// input loop tells it of keyboards coming, the key road of keyboards going, and the key pipeline
// hands it each raw key.
class LinuxHidStack final : public platform::HidManagerFactory, public platform::HidEventSystem {
public:
    // Whether the program may read the keyboards: a manager opened without it reports
    // kHidNotPermitted, as the application expects of a platform that refuses input monitoring.
    void setPermitted(bool permitted) { permitted_ = permitted; }

    void connect(const std::shared_ptr<LinuxKeyboard>& keyboard);
    void disconnect(const std::shared_ptr<LinuxKeyboard>& keyboard);
    // A pointing device the managers follow, a touchpad: it has no keys, so it is no service.
    void connectPointing(const std::shared_ptr<const platform::HidDevice>& device);
    void disconnectPointing(const std::shared_ptr<const platform::HidDevice>& device);
    // The raw key reaches every open manager that matches, before any mapping; returns once the
    // managers' callbacks have run.
    void rawKey(const std::shared_ptr<LinuxKeyboard>& keyboard, platform::HidUsage key, bool down);

    std::shared_ptr<platform::HidManager> createHidManager() override;
    std::optional<std::vector<std::shared_ptr<platform::HidServiceClient>>> copyServices() override;

private:
    using Managers = std::vector<std::weak_ptr<platform::MatchingHidManager>>;

    std::shared_ptr<const Managers> managers() const;
    // With the mutex held, so that a manager made meanwhile hears of the device exactly once.
    void announce(const std::shared_ptr<const platform::HidDevice>& device, bool added);

    std::atomic<bool> permitted_ = true;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<LinuxKeyboard>> keyboards_;
    std::vector<std::shared_ptr<const platform::HidDevice>> pointing_;
    // Replaced whole when a manager comes, so that a key walks the list without a lock or a copy.
    std::shared_ptr<const Managers> managers_ = std::make_shared<const Managers>();
};

}  // namespace veltrane::linuxbackend
