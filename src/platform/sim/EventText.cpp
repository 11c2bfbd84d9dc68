#include "platform/sim/EventText.h"

#include <array>
#include <cstdio>
#include <utility>

namespace veltrane::sim {

namespace {

using platform::EventType;

constexpr std::array<std::pair<EventType, std::string_view>, 16> kNames = {{
    {EventType::leftMouseDown, "leftMouseDown"},
    {EventType::leftMouseUp, "leftMouseUp"},
    {EventType::rightMouseDown, "rightMouseDown"},
    {EventType::rightMouseUp, "rightMouseUp"},
    {EventType::mouseMoved, "mouseMoved"},
    {EventType::leftMouseDragged, "leftMouseDragged"},
    {EventType::rightMouseDragged, "rightMouseDragged"},
    {EventType::keyDown, "keyDown"},
    {EventType::keyUp, "keyUp"},
    {EventType::flagsChanged, "flagsChanged"},
    {EventType::scrollWheel, "scrollWheel"},
    {EventType::otherMouseDown, "otherMouseDown"},
    {EventType::otherMouseUp, "otherMouseUp"},
    {EventType::otherMouseDragged, "otherMouseDragged"},
    {EventType::gesture, "gesture"},
    {EventType::pressure, "pressure"},
}};

}  // namespace

std::string eventTypeName(EventType type)
{
    for (const auto& [known, name] : kNames) {
        if (known == type) {
            return std::string(name);
        }
    }
    return "type" + std::to_string(static_cast<std::uint32_t>(type));
}

std::optional<EventType> eventTypeFromName(std::string_view name)
{
    for (const auto& [type, known] : kNames) {
        if (known == name) {
            return type;
        }
    }
    return std::nullopt;
}

std::string hexText(std::int64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

std::string describeEvent(const platform::Event& event)
{
    const bool isKey = event.type == EventType::keyDown || event.type == EventType::keyUp ||
                       event.type == EventType::flagsChanged;
    char text[160];
    if (isKey) {
        std::snprintf(text, sizeof text, " key=%u flags=0x%llx", unsigned{event.keyCode},
                      static_cast<unsigned long long>(event.flags));
    } else {
        std::snprintf(text, sizeof text, " flags=0x%llx x=%.1f y=%.1f",
                      static_cast<unsigned long long>(event.flags), event.location.x, event.location.y);
    }
    return eventTypeName(event.type) + text;
}

}  // namespace veltrane::sim
