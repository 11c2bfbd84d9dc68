#include "platform/sim/ApplicationCatalog.h"

#include "platform/sim/SimBundle.h"

#include <algorithm>

namespace veltrane::sim {

void ApplicationCatalog::activate(const platform::RunningApplication& application)
{
    frontmost_ = application;
    if (std::find(running_.begin(), running_.end(), application) == running_.end()) {
        running_.push_back(application);
    }
}

std::optional<std::string> ApplicationCatalog::urlForApplication(const std::string& bundleIdentifier) const
{
    if (bundleIdentifier == SimBundle::kIdentifier) {
        return SimBundle::kPath;
    }
    if (installed_.contains(bundleIdentifier)) {
        return "/Applications/" + bundleIdentifier + ".app";
    }
    return std::nullopt;
}

}  // namespace veltrane::sim
