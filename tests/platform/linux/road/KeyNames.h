#pragma once

#include "platform/HidUsage.h"

#include <cstdint>
#include <string>

namespace veltrane::linuxbackend {

// Keys as the tests of the road write them: by the key table's names, so that expectations read
// like the kernel tests; a key the table does not know by its number.
std::string nameOfLinuxCode(std::uint16_t linuxCode);
std::string nameOfUsage(platform::HidUsage usage);
std::string nameOfKeyCode(std::uint16_t keyCode);

}  // namespace veltrane::linuxbackend
