#pragma once

#include "app/AppDelegate.h"
#include "app/ApplicationOptions.h"
#include "platform/Platform.h"

#include <memory>

namespace veltrane {

// Builds the whole application of one process on any backend's ports: the shared instances
// (settings, engine, listeners), then the delegate that starts them. The ports must outlive it.
std::unique_ptr<AppDelegate> makeApplication(const platform::Platform& platform,
                                             ApplicationOptions options = {});

}  // namespace veltrane
