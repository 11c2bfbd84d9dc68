#pragma once

#include <linux/input.h>

#include <cstdint>
#include <string>

namespace veltrane::kernel {

// A device for tests on a real kernel, made through uinput: its codes are enabled on fd() first,
// then create() makes it.
class UinputDevice {
public:
    UinputDevice();
    ~UinputDevice();
    UinputDevice(const UinputDevice&) = delete;
    UinputDevice& operator=(const UinputDevice&) = delete;

    // The device's /dev/input/eventN.
    const std::string& eventNode() const { return eventNode_; }

protected:
    int fd() const { return fd_; }
    void create(const std::string& name, std::uint16_t bus, std::uint16_t vendor, std::uint16_t product);
    void emit(std::uint16_t type, std::uint16_t code, std::int32_t value);

private:
    int fd_;
    std::string eventNode_;
};

}  // namespace veltrane::kernel
