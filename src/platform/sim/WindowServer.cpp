#include "platform/sim/WindowServer.h"

#include "platform/KeyTable.h"
#include "platform/KeyboardEventSource.h"
#include "platform/sim/DesktopLock.h"
#include "platform/sim/EventText.h"
#include "platform/sim/Faults.h"
#include "platform/sim/SimEventMonitor.h"
#include "platform/sim/SimEventTap.h"
#include "platform/sim/SimQueue.h"
#include "platform/sim/Transcript.h"

#include <cstdio>
#include <utility>

namespace veltrane::sim {

using platform::Event;
using platform::EventType;

WindowServer::WindowServer(std::shared_ptr<SimQueue> queue, DesktopLock& lock, Transcript& transcript,
                           Faults& faults)
    : queue_(std::move(queue)), lock_(lock), transcript_(transcript), faults_(faults)
{
}

void WindowServer::keyFromDevice(HidKey key, bool down)
{
    const std::lock_guard guard(lock_);
    using platform::KeyTable;
    constexpr std::uint32_t capsLockUsage = 0x39;
    const KeyTable::Key* known = KeyTable::byUsage(key.page, key.usage);
    if (known == nullptr || !known->keyCode) {
        return;
    }
    Event event;
    event.keyCode = *known->keyCode;
    if (key.page == KeyTable::kKeyboardPage && key.usage == capsLockUsage) {
        // Caps lock reports only its press, which toggles the lock.
        if (!down) {
            return;
        }
        setCapsLockState(!capsLock_);
        event.type = EventType::flagsChanged;
    } else if (known->modifier != 0) {
        holdModifier(known->modifier, down);
        event.type = EventType::flagsChanged;
    } else {
        event.type = down ? EventType::keyDown : EventType::keyUp;
    }
    event.flags = modifierFlags() | known->ownFlags;
    enter(event);
}

platform::Point WindowServer::pointerLocation() const
{
    const std::lock_guard guard(lock_);
    return pointer_;
}

bool WindowServer::capsLockState() const
{
    const std::lock_guard guard(lock_);
    return capsLock_;
}

void WindowServer::eventFromDevice(Event event)
{
    enter(event);
}

void WindowServer::addTap(const std::shared_ptr<SimEventTap>& tap)
{
    const std::lock_guard guard(lock_);
    taps_.insert(taps_.begin(), tap);
}

void WindowServer::addMonitor(const std::shared_ptr<SimEventMonitor>& monitor)
{
    const std::lock_guard guard(lock_);
    monitors_.push_back(monitor);
}

void WindowServer::movePointer(platform::Point location)
{
    const std::lock_guard guard(lock_);
    pointer_ = location;
    Event event;
    event.type = EventType::mouseMoved;
    event.location = location;
    event.flags = modifierFlags();
    enter(event);
}

void WindowServer::warpMouseCursorPosition(platform::Point position)
{
    const std::lock_guard guard(lock_);
    pointer_ = position;
    char text[64];
    std::snprintf(text, sizeof text, "%.1f,%.1f", position.x, position.y);
    transcript_.record("warp", text);
}

std::shared_ptr<platform::EventSource> WindowServer::createEventSource(platform::EventSourceState state)
{
    return std::make_shared<platform::KeyboardEventSource>(
        state == platform::EventSourceState::privateState ? nullptr : this);
}

void WindowServer::post(const Event& event)
{
    const std::lock_guard guard(lock_);
    transcript_.record("post", describeEvent(event));
    enter(event);
}

platform::EventFlags WindowServer::modifierFlags() const
{
    const std::lock_guard guard(lock_);
    platform::EventFlags flags = capsLock_ ? platform::kFlagCapsLock : 0;
    for (const auto& [modifier, count] : heldModifiers_) {
        flags |= count > 0 ? modifier : 0;
    }
    return flags;
}

void WindowServer::setCapsLockState(bool on)
{
    const std::lock_guard guard(lock_);
    if (on != capsLock_) {
        capsLock_ = on;
        transcript_.record("capslock", on ? "on" : "off");
    }
}

void WindowServer::holdModifier(platform::EventFlags modifier, bool down)
{
    int& count = heldModifiers_[modifier];
    count = down ? count + 1 : std::max(count - 1, 0);
}

void WindowServer::enter(Event event)
{
    queue_->async([this, event] { pass(event); });
}

void WindowServer::pass(Event event)
{
    const std::lock_guard guard(lock_);
    const auto notice = std::exchange(faults_.tapNotice, std::nullopt);
    std::erase_if(taps_, [](const auto& tap) { return tap.expired(); });
    const auto taps = taps_;
    for (const auto& weak : taps) {
        const auto tap = weak.lock();
        if (!tap) {
            continue;
        }
        if (notice) {
            tap->switchOff(*notice);
        } else {
            tap->handle(event);
        }
    }
    if (monitor(event)) {
        transcript_.record("deliver", describeEvent(event));
    }
}

bool WindowServer::monitor(Event& event)
{
    std::erase_if(monitors_, [](const auto& monitor) { return monitor.expired(); });
    const auto monitors = monitors_;
    for (const auto& weak : monitors) {
        const auto live = weak.lock();
        if (live && !live->handle(event)) {
            return false;
        }
    }
    return true;
}

}  // namespace veltrane::sim
