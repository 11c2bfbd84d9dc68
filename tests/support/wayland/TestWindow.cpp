#include "wayland/TestWindow.h"

#include <xdg-shell-client-protocol.h>

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <stdexcept>

namespace veltrane::desktoptest {

namespace {

constexpr int side = 64;

const wl_callback_listener syncListener = {
    .done = [](void* answered, wl_callback*, std::uint32_t) { *static_cast<bool*>(answered) = true; },
};

const xdg_wm_base_listener shellListener = {
    .ping = [](void*, xdg_wm_base* shell, std::uint32_t serial) { xdg_wm_base_pong(shell, serial); },
};

// A toplevel maps once it has acknowledged its first configure and committed a buffer.
const xdg_surface_listener surfaceListener = {
    .configure =
        [](void* configured, xdg_surface* surface, std::uint32_t serial) {
            xdg_surface_ack_configure(surface, serial);
            *static_cast<bool*>(configured) = true;
        },
};

}  // namespace

template <typename Proxy> Proxy* TestWindow::keep(Proxy* proxy)
{
    proxies_.push_back(reinterpret_cast<wl_proxy*>(proxy));
    return proxy;
}

const wl_registry_listener TestWindow::registryListener = {
    .global =
        [](void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
            auto* window = static_cast<TestWindow*>(data);
            const std::string offered = interface;
            if (offered == wl_compositor_interface.name) {
                window->compositor_ = window->keep(static_cast<wl_compositor*>(
                    wl_registry_bind(registry, name, &wl_compositor_interface, 4)));
            } else if (offered == wl_shm_interface.name) {
                window->shm_ = window->keep(
                    static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1)));
            } else if (offered == xdg_wm_base_interface.name) {
                window->shell_ = window->keep(
                    static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1)));
            }
        },
    .global_remove = [](void*, wl_registry*, std::uint32_t) {},
};

TestWindow::TestWindow(const std::string& display, const std::string& appId)
    : display_(wl_display_connect(display.c_str()))
{
    if (display_ == nullptr) {
        throw std::runtime_error("cannot connect to " + display);
    }
    try {
        open(appId);
    } catch (...) {
        release();
        throw;
    }
}

void TestWindow::open(const std::string& appId)
{
    wl_registry_add_listener(keep(wl_display_get_registry(display_)), &registryListener, this);
    roundtrip();
    if (compositor_ == nullptr || shm_ == nullptr || shell_ == nullptr) {
        throw std::runtime_error("the compositor offers no xdg-shell windows");
    }
    xdg_wm_base_add_listener(shell_, &shellListener, nullptr);
    surface_ = keep(wl_compositor_create_surface(compositor_));
    auto* surface = keep(xdg_wm_base_get_xdg_surface(shell_, surface_));
    xdg_surface_add_listener(surface, &surfaceListener, &configured_);
    auto* toplevel = keep(xdg_surface_get_toplevel(surface));
    xdg_toplevel_set_app_id(toplevel, appId.c_str());
    // Distinct from the app_id, so that a watcher mixing up the two events shows it.
    xdg_toplevel_set_title(toplevel, ("A window of " + appId).c_str());
    wl_surface_commit(surface_);
    roundtrip();
    if (!configured_) {
        throw std::runtime_error("the compositor did not configure the window");
    }
    attachBuffer();
    wl_surface_commit(surface_);
    roundtrip();
}

void TestWindow::roundtrip()
{
    bool answered = false;
    auto* callback = wl_display_sync(display_);
    wl_callback_add_listener(callback, &syncListener, &answered);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!answered) {
        wl_display_flush(display_);
        pollfd readable{wl_display_get_fd(display_), POLLIN, 0};
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) <= 0 ||
            wl_display_dispatch(display_) < 0) {
            wl_callback_destroy(callback);
            throw std::runtime_error("the compositor did not answer");
        }
    }
    wl_callback_destroy(callback);
}

void TestWindow::attachBuffer()
{
    const int size = side * side * 4;
    const int file = ::memfd_create("test-window", MFD_CLOEXEC);
    if (file < 0 || ::ftruncate(file, size) != 0) {
        throw std::runtime_error("cannot make a buffer");
    }
    auto* pool = wl_shm_create_pool(shm_, file, size);
    auto* buffer = keep(wl_shm_pool_create_buffer(pool, 0, side, side, side * 4, WL_SHM_FORMAT_XRGB8888));
    wl_shm_pool_destroy(pool);
    ::close(file);
    wl_surface_attach(surface_, buffer, 0, 0);
}

// The compositor forgets all of it with the connection; the library still wants its proxies freed.
void TestWindow::release()
{
    for (auto proxy = proxies_.rbegin(); proxy != proxies_.rend(); ++proxy) {
        wl_proxy_destroy(*proxy);
    }
    wl_display_disconnect(display_);
}

}  // namespace veltrane::desktoptest
