#include "platform/linux/system/KernelRelease.h"

#include <array>
#include <charconv>

namespace veltrane::linuxbackend {

platform::OperatingSystemVersion kernelReleaseVersion(std::string_view release)
{
    std::array<int, 3> parts{};
    const char* cursor = release.data();
    const char* const end = cursor + release.size();
    for (int& part : parts) {
        int number = 0;
        const auto [next, error] = std::from_chars(cursor, end, number);
        if (error != std::errc{} || number < 0) {
            break;
        }
        part = number;
        if (next == end || *next != '.') {
            break;
        }
        cursor = next + 1;
    }
    return {parts[0], parts[1], parts[2]};
}

}  // namespace veltrane::linuxbackend
