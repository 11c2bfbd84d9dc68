#pragma once

#include "platform/Event.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrane::sim {

// The names of event types in scenarios and transcripts ("keyDown", "leftMouseDown").
std::string eventTypeName(platform::EventType type);
std::optional<platform::EventType> eventTypeFromName(std::string_view name);

// A number as transcripts show it: lower-case hexadecimal with 0x, negative ones as their
// two's complement.
std::string hexText(std::int64_t value);

// An event as transcripts show it: "keyDown key=0 flags=0x1e0000" for key events,
// "leftMouseDown flags=0x0 x=10.0 y=20.0" for the others.
std::string describeEvent(const platform::Event& event);

}  // namespace veltrane::sim
