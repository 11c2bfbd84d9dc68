#pragma once

#include "platform/linux/KeyPipeline.h"

#include <linux/input.h>

#include <span>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// What the road wrote for the virtual keyboard, as the kernel tests read it from the desktop's
// side: "+lctrl", "-a". Every key change must come as a frame of its own, or the desktop could see
// two changes at once in another order; an event out of that shape is kept as "?type:code".
// Written on the main loop, read by the test once the loop has run what it was given.
class VirtualKeyboardLog {
public:
    KeyPipeline::Writer writer();
    // The keys written since the last call.
    std::vector<std::string> take();

private:
    void write(std::span<const input_event> events);

    std::vector<std::string> keys_;
};

}  // namespace veltrane::linuxbackend
