#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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
    // Called on the main queue with the error's description, or nothing on success.
    using OpenCompletion = std::function<void(const std::optional<std::string>& error)>;

    virtual ~Workspace() = default;

    virtual std::optional<RunningApplication> frontmostApplication() const = 0;
    virtual std::vector<RunningApplication> runningApplications() const = 0;
    // Where the application of that identifier is installed, or nothing.
    virtual std::optional<std::string> urlForApplication(const std::string& bundleIdentifier) const = 0;
    // False when the URL is malformed or nothing can open it.
    virtual bool openURL(const std::string& url) = 0;
    // Opens the application at that path with those launch arguments.
    virtual void openApplication(const std::string& path, const std::vector<std::string>& arguments,
                                 OpenCompletion completion) = 0;

    virtual Token observe(WorkspaceNotification notification, Handler handler) = 0;
    virtual void removeObserver(Token token) = 0;
};

}  // namespace veltrane::platform
