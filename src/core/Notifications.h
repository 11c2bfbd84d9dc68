#pragma once

namespace veltrane {

// The names of the notifications that carry changes from one subsystem to another on the
// application's notification centre. All are posted on the main queue.
struct Notifications {
    // The per-application switch changed its decision; the object is true when the engine must
    // stand aside.
    static constexpr const char* kFrontmostAppToggle = "frontmostAppToggle";
    // The mouse options or the slide gesture changed: the event tap needs a new mask.
    static constexpr const char* kUpdateEventMask = "updateEventMask";
    // The preferences chose touches from the multitouch framework.
    static constexpr const char* kStartDeviceListener = "startDeviceListener";
    // A keyboard came or went: its key mapping needs writing.
    static constexpr const char* kKeyboardAddedOrRemoved = "keyboardAddedOrRemoved";
};

}  // namespace veltrane
