#pragma once

#include <wayland-client.h>

#include <string>
#include <vector>

// Generated into this library alone: its users need not see the protocol.
struct xdg_wm_base;

namespace veltrane::desktoptest {

// A client showing one window of that app_id, which the compositor maps and focuses. Destroying it
// closes the window.
class TestWindow {
public:
    // Throws std::runtime_error when the compositor does not take the window within seconds.
    TestWindow(const std::string& display, const std::string& appId);
    ~TestWindow() { release(); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

private:
    void open(const std::string& appId);
    void roundtrip();
    void attachBuffer();
    void release();
    template <typename Proxy> Proxy* keep(Proxy* proxy);

    static const wl_registry_listener registryListener;

    wl_display* display_;
    // Everything made on the connection, destroyed in reverse.
    std::vector<wl_proxy*> proxies_;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    xdg_wm_base* shell_ = nullptr;
    wl_surface* surface_ = nullptr;
    bool configured_ = false;
};

}  // namespace veltrane::desktoptest
