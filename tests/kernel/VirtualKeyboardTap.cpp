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
    while (keys.size() < most) {
        const auto event = reader_->next(quiet);
        if (!event) {
            break;
        }
        if (event->type != EV_KEY || event->value == 2) {
            continue;
        }
        const auto* known = platform::KeyTable::byLinuxCode(event->code);
        keys.push_back((event->value != 0 ? "+" : "-") +
                       (known != nullptr ? std::string(known->name) : std::to_string(event->code)));
    }
    return keys;
}

}  // namespace veltrane::kernel
