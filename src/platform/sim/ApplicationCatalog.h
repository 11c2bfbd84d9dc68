#pragma once

#include "platform/Workspace.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace veltrane::sim {

// The other applications of the simulated desktop: the frontmost one, those that have run, and
// those installed.
class ApplicationCatalog {
public:
    const std::optional<platform::RunningApplication>& frontmost() const { return frontmost_; }
    // Each application that has been frontmost, once, in the order they first came to the front.
    const std::vector<platform::RunningApplication>& running() const { return running_; }
    // Another application becomes frontmost.
    void activate(const platform::RunningApplication& application);

    void install(const std::string& bundleIdentifier) { installed_.insert(bundleIdentifier); }
    // Where the application is installed: the application itself, or one installed above.
    std::optional<std::string> urlForApplication(const std::string& bundleIdentifier) const;

private:
    std::optional<platform::RunningApplication> frontmost_;
    std::vector<platform::RunningApplication> running_;
    std::set<std::string, std::less<>> installed_;
};

}  // namespace veltrane::sim
