#include "platform/linux/x11/X11Connection.h"

#include "platform/linux/x11/X11Property.h"

#include <poll.h>
#include <xcb/xcbext.h>

#include <algorithm>
#include <chrono>

namespace veltrane::linuxbackend {

namespace {

// Far longer than a live server takes, even a loaded one.
constexpr auto kAnswerTimeout = std::chrono::seconds(5);

std::string described(const std::string& display)
{
    if (!display.empty()) {
        return display;
    }
    const char* named = std::getenv("DISPLAY");
    return named != nullptr ? named : "(DISPLAY is not set)";
}

}  // namespace

X11Connection::X11Connection(const std::string& display) : display_(described(display))
{
    int screen = 0;
    connection_.reset(xcb_connect(display.empty() ? nullptr : display.c_str(), &screen));
    if (xcb_connection_has_error(connection_.get()) != 0) {
        throw Lost("cannot connect to X display " + display_);
    }
    auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection_.get()));
    for (; roots.rem > 0 && screen > 0; --screen) {
        xcb_screen_next(&roots);
    }
    if (roots.rem <= 0) {
        throw Lost("X display " + display_ + " has no such screen");
    }
    root_ = roots.data->root;
}

int X11Connection::descriptor() const
{
    return xcb_get_file_descriptor(connection_.get());
}

xcb_atom_t X11Connection::atom(const std::string& name)
{
    const auto request =
        xcb_intern_atom(connection_.get(), 0, static_cast<std::uint16_t>(name.size()), name.c_str());
    const auto reply = answer<xcb_intern_atom_reply_t>(request.sequence);
    if (reply == nullptr) {
        throw Lost("X display " + display_ + " refused the atom " + name);
    }
    return reply->atom;
}

std::vector<std::uint32_t> X11Connection::values(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                                 std::uint32_t most)
{
    const auto reply = propertyReply(window, property, type, most);
    return reply == nullptr ? std::vector<std::uint32_t>() : X11Property::values(*reply, type);
}

std::string X11Connection::text(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, std::uint32_t most)
{
    const auto reply = propertyReply(window, property, type, most);
    return reply == nullptr ? std::string() : X11Property::text(*reply, type);
}

std::vector<xcb_window_t> X11Connection::children(xcb_window_t window)
{
    const auto reply = answer<xcb_query_tree_reply_t>(xcb_query_tree(connection_.get(), window).sequence);
    if (reply == nullptr) {
        return {};
    }
    const auto claimed = static_cast<std::size_t>(std::max(xcb_query_tree_children_length(reply.get()), 0));
    const xcb_window_t* first = xcb_query_tree_children(reply.get());
    return {first, first + std::min(claimed, std::size_t{reply->length})};
}

void X11Connection::watchProperties(xcb_window_t window)
{
    select(window, XCB_EVENT_MASK_PROPERTY_CHANGE);
}

void X11Connection::watchDestruction(xcb_window_t window)
{
    select(window, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
}

bool X11Connection::changed(xcb_atom_t property)
{
    bool found = false;
    while (const auto next = event()) {
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(next.get());
        const int type = next->response_type & ~0x80;
        found =
            found || (type == XCB_PROPERTY_NOTIFY && notify->atom == property) || type == XCB_DESTROY_NOTIFY;
    }
    return found;
}

X11Connection::Owned<xcb_generic_event_t> X11Connection::event()
{
    Owned<xcb_generic_event_t> next{xcb_poll_for_event(connection_.get())};
    throwIfBroken();
    return next;
}

// xcb asks for an extension once and keeps the answer, but waits for it without a limit: a round
// trip that has one brings it in first, as the server answers in order.
std::optional<std::uint8_t> X11Connection::extension(xcb_extension_t& id)
{
    xcb_prefetch_extension_data(connection_.get(), &id);
    answer<xcb_get_input_focus_reply_t>(xcb_get_input_focus(connection_.get()).sequence);
    const auto* data = xcb_get_extension_data(connection_.get(), &id);
    if (data == nullptr || data->present == 0) {
        return std::nullopt;
    }
    return data->major_opcode;
}

// The reply, or nothing when the server answered with an error.
void* X11Connection::await(unsigned int request)
{
    xcb_flush(connection_.get());
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTimeout;
    for (;;) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        const int ready = xcb_poll_for_reply(connection_.get(), request, &reply, &error);
        throwIfBroken();
        if (ready != 0) {
            std::free(error);
            return reply;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            xcb_discard_reply(connection_.get(), request);
            throw Lost("X display " + display_ + " stopped answering");
        }
        pollfd readable{descriptor(), POLLIN, 0};
        ::poll(&readable, 1, static_cast<int>(left.count()) + 1);
    }
}

X11Connection::Owned<xcb_get_property_reply_t>
X11Connection::propertyReply(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, std::uint32_t most)
{
    const auto request = xcb_get_property(connection_.get(), 0, window, property, type, 0, most);
    return answer<xcb_get_property_reply_t>(request.sequence);
}

// A window that is already gone earns an error among the events, which changed() passes over.
void X11Connection::select(xcb_window_t window, std::uint32_t events)
{
    xcb_change_window_attributes(connection_.get(), window, XCB_CW_EVENT_MASK, &events);
    xcb_flush(connection_.get());
    throwIfBroken();
}

void X11Connection::throwIfBroken() const
{
    if (xcb_connection_has_error(connection_.get()) != 0) {
        throw Lost("lost the connection to X display " + display_);
    }
}

}  // namespace veltrane::linuxbackend
