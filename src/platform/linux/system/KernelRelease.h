#pragma once

#include "platform/System.h"

#include <string_view>

namespace veltrane::linuxbackend {

// The version at the start of a kernel release, as uname(2) gives it: "6.1.0-57-amd64" is 6.1.0,
// "6.8" is 6.8.0. Reading stops at the first part that is not a number; what it has not read is 0.
platform::OperatingSystemVersion kernelReleaseVersion(std::string_view release);

}  // namespace veltrane::linuxbackend
