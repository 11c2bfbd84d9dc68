#pragma once

#include "core/Defaults.h"
#include "logging/Level.h"

namespace veltrane {

// The lowest level the application logs at: debug when the user asked for debug messages.
inline logging::Level logLevel(Defaults& defaults)
{
    return defaults.logDebug().isOn() ? logging::Level::debug : logging::Level::info;
}

}  // namespace veltrane
