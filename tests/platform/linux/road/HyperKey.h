#pragma once

#include "platform/EventTapService.h"
#include "platform/HidManager.h"
#include "platform/Queue.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// The hyper key as the engine makes it, cut down to what the road must serve: a HID manager on the
// HID queue hears the raw caps lock and holds the hyper state; a tap on the main queue adds the
// four modifier flags to every key event while the state is held. Both write what they met to one
// journal, in the order the two threads met it:
//   "hid +capslock"     a raw value, "+" down, "-" up
//   "tap +a hyper"      an event, "+" key down, "-" key up, "~" flags changed; "hyper" when the
//                       tap added the flags
//   "added Keyboard 1"  a keyboard matched; "removed ..." when it left
// An entry made on another queue than its own starts with "elsewhere ".
class HyperKey {
public:
    HyperKey(platform::HidManagerFactory& managers, platform::Queue& hidQueue,
             platform::EventTapService& taps, platform::Queue& mainQueue);

    // The entries since the last call.
    std::vector<std::string> take();

private:
    void heard(const platform::HidValue& value);
    void saw(platform::Event& event);
    void device(const char* what, const platform::HidDevice& device);
    void record(const platform::Queue& queue, std::string entry);

    platform::Queue& hidQueue_;
    platform::Queue& mainQueue_;
    std::atomic<bool> held_ = false;
    std::mutex mutex_;
    std::vector<std::string> journal_;
    std::shared_ptr<platform::HidManager> manager_;
    std::shared_ptr<platform::EventTap> tap_;
};

}  // namespace veltrane::linuxbackend
