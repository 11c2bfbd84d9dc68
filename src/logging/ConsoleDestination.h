#pragma once

#include "logging/BaseDestination.h"

#include <atomic>
#include <string>

namespace veltrane::platform {
class SystemLog;
}

namespace logging {

// Writes each line to the system's unified log (useMacConsole), the legacy console call syslog(3)
// (useNSLog), or standard output. Its level colours are coloured squares before the label.
class ConsoleDestination : public BaseDestination {
public:
    // The unified log is the port given here; by default the one the application handed the facade.
    explicit ConsoleDestination(veltrane::platform::SystemLog* systemLog = defaultSystemLog());

    static veltrane::platform::SystemLog* defaultSystemLog();
    static void setDefaultSystemLog(veltrane::platform::SystemLog* systemLog);

    const std::string& bundleId() const { return bundleId_; }
    // Also makes loggableBundleId from it: "com.marrowind.Veltrane" gives "com-marrowind-Veltrane ".
    void setBundleId(std::string bundleId);
    // Put before every line sent to the unified log.
    std::string loggableBundleId;
    bool useNSLog = false;
    // Takes precedence over useNSLog.
    bool useMacConsole = false;

    bool useTerminalColors() const { return terminalColors_; }
    void setUseTerminalColors(bool on);

    std::optional<std::string> emit(Level level, std::string_view message, std::string_view thread,
                                    std::string_view file, std::string_view function, int line,
                                    const Context& context) override;
    int hashSeed() const override { return 1; }

private:
    static std::string loggable(std::string_view identifier);
    static const LevelTexts& squares();
    void output(Level level, const std::string& text) const;

    veltrane::platform::SystemLog* systemLog_;
    std::string bundleId_;
    bool terminalColors_ = false;
    inline static std::atomic<veltrane::platform::SystemLog*> defaultSystemLog_{nullptr};
};

}  // namespace logging
