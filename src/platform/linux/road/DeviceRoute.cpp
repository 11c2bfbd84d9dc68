#include "platform/linux/road/DeviceRoute.h"

#include <utility>

namespace veltrane::linuxbackend {

DeviceRoute::DeviceRoute(std::uint16_t bus, std::shared_ptr<LinuxKeyboard> keyboard,
                         std::shared_ptr<LinuxTouchpad> touchpad, bool points)
    : decoder_(bus), keyboard_(std::move(keyboard)), touchpad_(std::move(touchpad)), points_(points)
{
}

DeviceRoute::Routed DeviceRoute::take(const input_event& event)
{
    if (touchpad_) {
        if (touchpad_->take(event)) {
            return {KeyRoad::Touch{touchpad_}};
        }
        return {};
    }
    std::optional<KeyRoad::Work> work;
    if (points_ && report_.add(event)) {
        for (const auto& part : report_.events()) {
            PointerFrame::follow(buttons_, part);
        }
        work = KeyRoad::Pointer{report_.take()};
    }
    if (!keyboard_ || (points_ && PointerFrame::isPointerEvent(event))) {
        return {std::move(work)};
    }
    // The end of a report reaches the decoder too: a scan code announced without a key is void.
    using Kind = KeyDecoder::Change::Kind;
    const auto change = decoder_.feed(event);
    if (change.kind == Kind::down || change.kind == Kind::up) {
        return {KeyRoad::Key{keyboard_, change}};
    }
    return {std::move(work), change.kind == Kind::dropped};
}

std::vector<input_event> DeviceRoute::releaseButtons()
{
    return PointerFrame::release(std::exchange(buttons_, {}));
}

}  // namespace veltrane::linuxbackend
