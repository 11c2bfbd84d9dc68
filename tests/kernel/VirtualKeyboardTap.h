#pragma once

#include "EvdevReader.h"
#include "InputNodes.h"
#include "platform/KeyTable.h"

#include <linux/input.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::kernel {

// Reads what the program's virtual keyboard sends, as the desktop would see it, once it appears.
class VirtualKeyboardTap {
public:
    // The key changes sent until no more come for a while (or until there are that many), as "+a"
    // (down) and "-a" (up) by the key table's names; the kernel's auto-repeat is left out, so that a
    // key left down ends the wait all the same.
    std::vector<std::string> keys(Milliseconds quiet = Milliseconds(1500), std::size_t most = SIZE_MAX)
    {
        std::vector<std::string> keys;
        auto end = std::chrono::steady_clock::now() + quiet;
        while (keys.size() < most) {
            const auto left =
                std::chrono::duration_cast<Milliseconds>(end - std::chrono::steady_clock::now());
            const auto event = left.count() > 0 ? reader_.next(left) : std::nullopt;
            if (!event) {
                break;
            }
            if (event->type != EV_KEY || event->value == 2) {
                continue;
            }
            const auto* known = platform::KeyTable::byLinuxCode(event->code);
            keys.push_back((event->value != 0 ? "+" : "-") +
                           (known != nullptr ? std::string(known->name) : std::to_string(event->code)));
            end = std::chrono::steady_clock::now() + quiet;
        }
        return keys;
    }

private:
    EvdevReader reader_{InputNodes::named("Veltrane Virtual Keyboard")};
};

}  // namespace veltrane::kernel
