#pragma once

#include <iosfwd>

namespace veltrane::linuxbackend {

// Lists the input devices with what the program does with each and why, as `veltrane devices`
// shows them.
class DeviceReport {
public:
    // Returns 0, or 1 when a device could not be opened for lack of permission.
    static int write(std::ostream& out);
};

}  // namespace veltrane::linuxbackend
