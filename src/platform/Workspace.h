#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace veltrane::platform {

struct RunningApplication {
    std::optional<std::string> bundleIdentifier;
    std::optional<std::string> localizedName;

    bool operator==(const RunningApplication&) const = default;
};

enum class WorkspaceNotification {
    didActivateApplication,
    willSleep,
    didWake,
    sessionDidBecomeActive,
};

// The desktop's workspace. Observers run on the main queue; for didActivateApplication they get
// the activated application, which the system may fail to provide (nothing).
class Workspace {
public:
    using Handler = std::function<void(const std::optional<RunningApplication>& application)>;
    using Token = std::uint64_t;

    virtual ~Workspace() = default;

    virtual std::optional<RunningApplication> frontmostApplication() const = 0;
    // False when the URL is malformed or nothing can open it.
    virtual bool openURL(const std::string& url) = 0;

    virtual Token observe(WorkspaceNotification notification, Handler handler) = 0;
    virtual void removeObserver(Token token) = 0;
};

}  // namespace veltrane::platform
