#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// A client's connection to an X server that waits a bounded time for every answer: a server that
// stops answering counts as gone, so that its client never hangs on it. For one thread at a time.
class X11Connection {
public:
    // The server is unreachable, gone or silent; the message names the display.
    class Lost : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // An empty display means the one DISPLAY names. Throws Lost.
    explicit X11Connection(const std::string& display);

    struct Free {
        void operator()(void* memory) const { std::free(memory); }
    };
    template <typename Reply> using Owned = std::unique_ptr<Reply, Free>;

    // The display as the user would name it, for messages.
    const std::string& display() const { return display_; }
    xcb_window_t root() const { return root_; }
    // Readable when events or answers arrive.
    int descriptor() const;
    // For requests this class does not make itself, those of extensions among them.
    xcb_connection_t* get() const { return connection_.get(); }

    // Every call below throws Lost. A window that went away in the meantime has no property and no
    // children.
    xcb_atom_t atom(const std::string& name);
    // A property of that type in 32-bit values, at most `most` of them; empty without it.
    std::vector<std::uint32_t> values(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                      std::uint32_t most);
    // A property of that type (of any, with XCB_GET_PROPERTY_TYPE_ANY) in bytes, at most 4 × `most`
    // of them; empty without it.
    std::string text(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, std::uint32_t most);
    std::vector<xcb_window_t> children(xcb_window_t window);
    void watchProperties(xcb_window_t window);
    void watchDestruction(xcb_window_t window);
    // Takes every event received so far: whether one said that property of a watched window changed,
    // or that a watched window was destroyed.
    bool changed(xcb_atom_t property);
    // The next event received so far, or nothing.
    Owned<xcb_generic_event_t> event();
    // The extension's major opcode, or nothing when the server lacks it. Requests of the extension
    // may be made once it is known.
    std::optional<std::uint8_t> extension(xcb_extension_t& id);
    // The answer to that request, or nothing when the server answered with an error.
    template <typename Reply> Owned<Reply> answer(unsigned int request)
    {
        return Owned<Reply>(static_cast<Reply*>(await(request)));
    }

private:
    void* await(unsigned int request);
    Owned<xcb_get_property_reply_t> propertyReply(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                                  std::uint32_t most);
    void select(xcb_window_t window, std::uint32_t events);
    void throwIfBroken() const;

    struct Disconnect {
        void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
    };

    std::string display_;
    std::unique_ptr<xcb_connection_t, Disconnect> connection_;
    xcb_window_t root_ = XCB_NONE;
};

}  // namespace veltrane::linuxbackend
