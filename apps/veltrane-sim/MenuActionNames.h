#pragma once

#include "platform/ApplicationDelegate.h"

#include <string_view>

namespace veltrane::scenario {

// A menu action by the name of the message its item sends ("openPreferences", "quit").
platform::MenuAction parseMenuAction(std::string_view word);

}  // namespace veltrane::scenario
