#pragma once

#include "logging/Level.h"
#include "touch/TouchEvent.h"
#include "touch/TouchViewer.h"

#include <functional>

namespace veltrane {

// What a backend adds to the application it builds: everything here is optional.
struct ApplicationOptions {
    // Sets the logging library up for the run; without it, the application's own preset.
    std::function<void(bool logToFile, logging::Level minLevel)> loggingSetup{};
    // Sees every touch event just before the slide recognizer does.
    TouchEventHandler touchMonitor{};
    // The touch viewer of a graphical shell, which must outlive the application.
    TouchViewer* viewer = nullptr;
};

}  // namespace veltrane
