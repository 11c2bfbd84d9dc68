#pragma once

#include <memory>
#include <string>

namespace veltrane::demo {

// Reads what Veltrane's virtual keyboard sends to applications and tells it as a person reads it:
// each key pressed with the modifiers held then, "Ctrl+Alt+Super+Shift+A".
class Receiver {
public:
    // Veltrane's virtual keyboard, or nothing while it has not made one.
    static std::unique_ptr<Receiver> open();
    ~Receiver();
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    // The keys received since the last call, separated by spaces.
    std::string take();

private:
    explicit Receiver(int fd) : fd_(fd) {}

    void pressed(unsigned code);

    int fd_ = -1;
    unsigned modifiers_ = 0;
    std::string received_;
};

}  // namespace veltrane::demo
