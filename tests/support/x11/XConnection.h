#pragma once

#include <xcb/xcb.h>

#include <string>

namespace veltrane::desktoptest {

// One connection to an X server, closed with this object.
class XConnection {
public:
    // Throws when the server cannot be reached.
    explicit XConnection(const std::string& display);
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    xcb_connection_t* get() const { return connection_; }
    xcb_screen_t* screen() const { return screen_; }
    xcb_atom_t atom(const char* name) const;

private:
    xcb_connection_t* connection_;
    xcb_screen_t* screen_ = nullptr;
};

}  // namespace veltrane::desktoptest
