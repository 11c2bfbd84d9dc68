#pragma once

#include "platform/System.h"

namespace veltrane::sim {

class Desktop;
class SimProcess;

class SimSystem final : public platform::System {
public:
    SimSystem(Desktop& desktop, SimProcess& process) : desktop_(desktop), process_(process) {}

    bool isProcessTrusted() const override;
    platform::PermissionHelp permissionHelp() const override;
    platform::OperatingSystemVersion operatingSystemVersion() const override;
    bool setLoginItemEnabled(const std::string& bundleIdentifier, bool enabled) override;
    // Recorded; the one command the application runs, waiting and then opening the application
    // again, is played by the desktop and outlives the process.
    void launchTask(const std::string& launchPath, const std::vector<std::string>& arguments) override;
    std::optional<std::vector<std::uint8_t>> platformExpertModel() const override;
    // Recorded as a "haptic" line.
    void performHapticFeedback() override;
    bool hasHapticFeedback() const override;
    platform::SoftwareUpdater* softwareUpdater() override;
    [[noreturn]] void terminate() override;
    [[noreturn]] void exit(int status) override;

private:
    Desktop& desktop_;
    SimProcess& process_;
};

}  // namespace veltrane::sim
