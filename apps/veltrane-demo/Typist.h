#pragma once

#include <cstdint>
#include <initializer_list>

namespace veltrane::demo {

// A USB keyboard made through uinput, on which the demo types as a person would: each key a scan code
// and a press or a release, each in a report of its own.
class Typist {
public:
    Typist();
    ~Typist();
    Typist(const Typist&) = delete;
    Typist& operator=(const Typist&) = delete;

    void key(std::uint16_t linuxCode, bool down);
    // Presses the keys in order, then releases them last first.
    void chord(std::initializer_list<std::uint16_t> linuxCodes);
    // Whether another program has taken the keyboard for itself, as Veltrane does with keyboards it maps.
    bool grabbed() const;

private:
    void emit(std::uint16_t type, std::uint16_t code, std::int32_t value) const;

    int uinput_ = -1;
};

}  // namespace veltrane::demo
