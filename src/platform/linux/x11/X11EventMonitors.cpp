#include "platform/linux/x11/X11EventMonitors.h"

#include "platform/linux/x11/X11Connection.h"

#include <sys/epoll.h>
#include <xcb/xinput.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

namespace veltrane::linuxbackend {

namespace {

using platform::EventType;
// A raw motion is laid out as a raw button press.
using RawEvent = xcb_input_raw_button_press_event_t;

// Since 2.1 raw events come while another client holds a grab; 2.0 has them too, but not then.
constexpr std::uint16_t kMajorVersion = 2;
constexpr std::uint16_t kMinorVersion = 2;

std::optional<EventType> pressType(std::uint32_t button)
{
    switch (button) {
    case 1:
        return EventType::leftMouseDown;
    case 3:
        return EventType::rightMouseDown;
    case 4:
    case 5:
    case 6:
    case 7:
        return std::nullopt;
    default:
        return EventType::otherMouseDown;
    }
}

// The first two axes of every pointer device are its x and y; a scroll moves other axes only. The
// mask's length is checked against what the server sent.
bool movesPointer(const RawEvent& raw)
{
    return raw.valuators_len > 0 && raw.length > 0 &&
           (xcb_input_raw_button_press_valuator_mask(&raw)[0] & 3) != 0;
}

// A button press, or a move of the pointer, which the buttons held may make a drag.
std::optional<EventType> pointerEventType(const RawEvent& raw)
{
    if (raw.event_type == XCB_INPUT_RAW_BUTTON_PRESS) {
        return pressType(raw.detail);
    }
    return raw.event_type == XCB_INPUT_RAW_MOTION && movesPointer(raw) ? std::optional(EventType::mouseMoved)
                                                                       : std::nullopt;
}

// A move with a button held drags.
EventType motionType(std::uint16_t buttons)
{
    if ((buttons & XCB_BUTTON_MASK_1) != 0) {
        return EventType::leftMouseDragged;
    }
    if ((buttons & XCB_BUTTON_MASK_3) != 0) {
        return EventType::rightMouseDragged;
    }
    return (buttons & XCB_BUTTON_MASK_2) != 0 ? EventType::otherMouseDragged : EventType::mouseMoved;
}

std::int16_t rootCoordinate(double value)
{
    constexpr double least = std::numeric_limits<std::int16_t>::min();
    constexpr double most = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(std::lround(std::clamp(value, least, most)));
}

}  // namespace

X11EventMonitors::X11EventMonitors(Reactor& reactor, const std::string& display)
    : connection_(std::make_unique<X11Connection>(display))
{
    const auto opcode = connection_->extension(xcb_input_id);
    const auto version =
        opcode ? connection_->answer<xcb_input_xi_query_version_reply_t>(
                     xcb_input_xi_query_version(connection_->get(), kMajorVersion, kMinorVersion).sequence)
               : nullptr;
    if (version == nullptr || version->major_version < kMajorVersion) {
        throw std::runtime_error("X display " + connection_->display() + " does not have XInput 2");
    }
    xinput_ = *opcode;
    readable_ = reactor.watch("the pointer on X display " + connection_->display(), connection_->descriptor(),
                              EPOLLIN, [this](std::uint32_t) { read(); });
}

X11EventMonitors::~X11EventMonitors() = default;

platform::EventMonitors::Token X11EventMonitors::addGlobalMonitorForEvents(platform::EventMask mask,
                                                                           GlobalHandler handler)
{
    return add(mask, [handler = std::move(handler)](const platform::Event& event) { handler(event); });
}

platform::EventMonitors::Token X11EventMonitors::addLocalMonitorForEvents(platform::EventMask mask,
                                                                          LocalHandler handler)
{
    return add(mask, [handler = std::move(handler)](const platform::Event& event) { handler(event); });
}

platform::EventMonitors::Token X11EventMonitors::add(platform::EventMask mask, Handler handler)
{
    const std::lock_guard lock(mutex_);
    if (monitors_.empty()) {
        selectRawEvents(true);
    }
    const Token token = nextToken_++;
    monitors_.emplace(token, Monitor{mask, std::move(handler)});
    return token;
}

void X11EventMonitors::removeMonitor(Token token)
{
    const std::lock_guard lock(mutex_);
    if (monitors_.erase(token) > 0 && monitors_.empty()) {
        selectRawEvents(false);
    }
}

// The freeze warps the pointer on each event it hears of; a warp makes no raw event, so it hears of
// no event of its own making.
void X11EventMonitors::warp(platform::Point position)
{
    if (std::isnan(position.x) || std::isnan(position.y)) {
        return;
    }
    const std::lock_guard lock(mutex_);
    xcb_warp_pointer(connection_->get(), XCB_NONE, connection_->root(), 0, 0, 0, 0,
                     rootCoordinate(position.x), rootCoordinate(position.y));
    xcb_flush(connection_->get());
}

// Raw events are asked for only while someone listens: every move of the pointer would wake the
// program otherwise. A lost connection is told by the reactor's source, not here.
void X11EventMonitors::selectRawEvents(bool wanted)
{
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t events;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
           wanted ? XCB_INPUT_XI_EVENT_MASK_RAW_MOTION | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS : 0u};
    xcb_input_xi_select_events(connection_->get(), connection_->root(), 1, &mask.head);
    xcb_flush(connection_->get());
}

// The handlers run unlocked: one may move the pointer, or add or remove a monitor.
void X11EventMonitors::read()
{
    for (;;) {
        std::optional<platform::Event> event;
        {
            const std::lock_guard lock(mutex_);
            const auto next = connection_->event();
            if (next == nullptr) {
                return;
            }
            event = translate(*next);
        }
        if (event) {
            deliver(*event);
        }
    }
}

std::optional<platform::Event> X11EventMonitors::translate(const xcb_generic_event_t& event)
{
    const auto& raw = reinterpret_cast<const RawEvent&>(event);
    const bool ours = (event.response_type & ~0x80) == XCB_GE_GENERIC && raw.extension == xinput_;
    const auto type = ours ? pointerEventType(raw) : std::nullopt;
    const auto pointer = type ? connection_->answer<xcb_query_pointer_reply_t>(
                                    xcb_query_pointer(connection_->get(), connection_->root()).sequence)
                              : nullptr;
    if (pointer == nullptr) {
        return std::nullopt;
    }
    return platform::Event{
        .type = *type == EventType::mouseMoved ? motionType(pointer->mask) : *type,
        .location = {static_cast<double>(pointer->root_x), static_cast<double>(pointer->root_y)}};
}

void X11EventMonitors::deliver(const platform::Event& event)
{
    std::vector<Handler> handlers;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& [token, monitor] : monitors_) {
            if (platform::maskHolds(monitor.mask, event.type)) {
                handlers.push_back(monitor.handler);
            }
        }
    }
    for (const auto& handler : handlers) {
        handler(event);
    }
}

}  // namespace veltrane::linuxbackend
