#pragma once

#include "platform/Workspace.h"
#include "platform/linux/wayland/WlrActiveApplication.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct wl_array;
struct zwlr_foreign_toplevel_handle_v1;

namespace veltrane::linuxbackend {

// The toplevel windows a compositor lists, as the events of their handles describe them, and the
// application of the one activated. A window's changes apply together at its done event; until then
// they are pending. Events of a handle it does not list are not its own and are passed over.
class WlrToplevels {
public:
    using Handle = zwlr_foreign_toplevel_handle_v1*;

    explicit WlrToplevels(WlrActiveApplication::Lookup lookup) : lookup_(std::move(lookup)) {}

    void add(Handle toplevel);
    void appId(Handle toplevel, const char* appId);
    // The states, an array of 32-bit values, of which only "activated" matters here.
    void state(Handle toplevel, const wl_array& states);
    void done(Handle toplevel);
    void closed(Handle toplevel);
    std::vector<Handle> handles() const;

    // Whether a window changed, or closed, since frontmost was last asked.
    bool reviewDue() const { return reviewDue_; }
    // The application of the activated window: the lookup's, or else the app_id as both its
    // identifier and its name when it is printable text; nothing without one.
    std::optional<platform::RunningApplication> frontmost();

private:
    struct Window {
        std::string appId;
        bool activated = false;
    };
    struct Toplevel {
        Window pending;
        Window shown;
    };

    std::optional<platform::RunningApplication> identify(const std::string& appId) const;

    WlrActiveApplication::Lookup lookup_;
    std::unordered_map<Handle, Toplevel> toplevels_;
    bool reviewDue_ = false;
    // The lookup is asked again only when another app_id comes to the front.
    std::string frontAppId_;
    std::optional<platform::RunningApplication> front_;
};

}  // namespace veltrane::linuxbackend
