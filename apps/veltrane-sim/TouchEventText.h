#pragma once

#include "touch/TouchEvent.h"

#include <string>

namespace veltrane::scenario {

// A touch event as the transcript shows it: device, phase summaries, the two flags, then each
// touch by id with its phase and normalised position.
std::string describeTouchEvent(const TouchEvent& event);

}  // namespace veltrane::scenario
