#pragma once

namespace veltrane::platform {

// The software-update framework's shared updater, when the application ships one.
class SoftwareUpdater {
public:
    virtual ~SoftwareUpdater() = default;

    virtual void setAutomaticallyChecksForUpdates(bool automatically) = 0;
    virtual void checkForUpdates() = 0;
};

}  // namespace veltrane::platform
