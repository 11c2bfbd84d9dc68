#include "platform/linux/devices/PointerFrame.h"

#include <utility>

namespace veltrane::linuxbackend {

bool PointerFrame::isPointerEvent(const input_event& event)
{
    return event.type == EV_REL || (event.type == EV_KEY && isButton(event.code));
}

bool PointerFrame::follow(Buttons& buttons, const input_event& event)
{
    if (event.type != EV_KEY || !isButton(event.code) || event.value == 2) {
        return false;
    }
    buttons[event.code - BTN_MOUSE] = event.value != 0;
    return true;
}

std::vector<input_event> PointerFrame::release(const Buttons& buttons)
{
    std::vector<input_event> report;
    for (unsigned button = 0; button < buttons.size(); ++button) {
        if (buttons[button]) {
            report.push_back(input_event{{}, EV_KEY, static_cast<std::uint16_t>(BTN_MOUSE + button), 0});
        }
    }
    if (!report.empty()) {
        report.push_back(input_event{{}, EV_SYN, SYN_REPORT, 0});
    }
    return report;
}

bool PointerFrame::add(const input_event& event)
{
    if (isPointerEvent(event)) {
        events_.push_back(event);
        return false;
    }
    if (event.type != EV_SYN || event.code != SYN_REPORT || events_.empty()) {
        return false;
    }
    events_.push_back(event);
    return true;
}

std::vector<input_event> PointerFrame::take()
{
    std::vector<input_event> frame;
    frame.reserve(kUsualSize);
    std::swap(frame, events_);
    return frame;
}

}  // namespace veltrane::linuxbackend
