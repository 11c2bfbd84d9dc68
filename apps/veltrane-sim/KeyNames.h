#pragma once

#include "platform/sim/SimKeyboard.h"

#include <string_view>

namespace veltrane::scenario {

// A key of a scenario: a name of the key table ("a", "capslock", "f13", "lcmd"), a usage on the
// keyboard page ("0x39") or PAGE:USAGE ("0xff:3", the Fn key).
sim::HidKey parseKey(std::string_view word);

}  // namespace veltrane::scenario
