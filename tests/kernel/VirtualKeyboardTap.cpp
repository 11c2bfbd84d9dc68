#include "VirtualKeyboardTap.h"

#include "InputNodes.h"
#include "platform/KeyTable.h"

namespace veltrane::kernel {

VirtualKeyboardTap::VirtualKeyboardTap()
    : reader_(std::make_unique<EvdevReader>(InputNodes::named("Veltrane Virtual Keyboard")))
{
}

std::vector<std::string> VirtualKeyboardTap::keys(std::chrono::milliseconds quiet, std::size_t most)
{
    std::vector<std::string> keys;
    auto end = std::chrono::steady_clock::now() + quiet;
    while (keys.size() < most) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        const auto event = left.count() > 0 ? reader_->next(left) : std::nullopt;
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

}  // namespace veltrane::kernel
