#pragma once

#include "EvdevReader.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace veltrane::kernel {

// Reads what the program's virtual keyboard sends, as the desktop would see it.
class VirtualKeyboardTap {
public:
    // Waits for the virtual keyboard to appear, then holds it.
    VirtualKeyboardTap();

    // The key changes sent until no more come for a while (or until there are that many), as "+a"
    // (down) and "-a" (up) by the key table's names; the kernel's auto-repeat is left out, so that a
    // key left down ends the wait all the same.
    std::vector<std::string> keys(std::chrono::milliseconds quiet = std::chrono::milliseconds(1500),
                                  std::size_t most = SIZE_MAX);

private:
    std::unique_ptr<EvdevReader> reader_;
};

}  // namespace veltrane::kernel
