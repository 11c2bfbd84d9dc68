#pragma once

#include <cstdint>
#include <string>

namespace veltrane::kernel {

// A USB mouse for tests on a real kernel, made through uinput: three buttons, motion and a wheel.
class UinputMouse {
public:
    explicit UinputMouse(const std::string& name);
    ~UinputMouse();
    UinputMouse(const UinputMouse&) = delete;
    UinputMouse& operator=(const UinputMouse&) = delete;

    // A button of the kernel's BTN_* codes is pressed and released, each in a report of its own.
    void click(std::uint16_t button);
    void move(std::int32_t dx, std::int32_t dy);
    void scroll(std::int32_t detents);
    const std::string& eventNode() const { return eventNode_; }

private:
    void emit(std::uint16_t type, std::uint16_t code, std::int32_t value);

    int fd_;
    std::string eventNode_;
};

}  // namespace veltrane::kernel
