// Any events of a compositor's foreign toplevel list for four window handles: each a byte that
// names the handle and the event (a new toplevel, app_id, state, done, closed, or the end of a batch
// of events), then for app_id a length byte and its bytes, for state a length byte and the array's
// bytes. Checked at the end of each batch:
// - the frontmost application is that of a window shown activated (by its last done event, and not
//   closed since), and nothing when none is;
// - it changes only after a done or a closed event;
// - it has a printable identifier and name, or is nothing.

#include "ApplicationCheck.h"
#include "FuzzInput.h"
#include "platform/linux/wayland/WlrToplevels.h"

#include <wayland-util.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using veltrane::fuzz::checkApplication;
using veltrane::fuzz::fail;
using veltrane::fuzz::FuzzInput;
using veltrane::linuxbackend::isPrintableText;
using veltrane::linuxbackend::WlrToplevels;
using veltrane::platform::RunningApplication;

// The protocol's value of the activated state.
constexpr std::uint32_t kActivated = 2;

// What the desktop entries would say: one application known by its app_id.
std::optional<RunningApplication> lookup(const std::string& appId)
{
    return appId == "org.example.Editor" ? std::optional(RunningApplication{appId, "Editor"}) : std::nullopt;
}

std::optional<RunningApplication> expectedFor(const std::string& appId)
{
    if (auto known = lookup(appId); known || appId.empty() || !isPrintableText(appId)) {
        return known;
    }
    return RunningApplication{appId, appId};
}

// A window as the events told it, to check against.
struct Window {
    struct State {
        std::string appId;
        bool activated = false;
    };
    State pending, shown;
};

// Arrays come aligned to whole values, as the library hands them over, but may end within one.
// Returns whether a whole value says activated.
bool sendState(WlrToplevels& toplevels, WlrToplevels::Handle handle, const std::string& bytes)
{
    std::vector<std::uint32_t> storage((bytes.size() + 3) / 4);
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(storage.data()));
    wl_array states{.size = bytes.size(), .alloc = storage.size() * 4, .data = storage.data()};
    toplevels.state(handle, states);
    const auto whole = storage.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 4);
    return std::find(storage.begin(), whole, kActivated) != whole;
}

void checkFrontmost(WlrToplevels& toplevels, const std::map<unsigned, Window>& windows,
                    std::optional<RunningApplication>& told)
{
    const bool due = toplevels.reviewDue();
    const auto front = toplevels.frontmost();
    checkApplication(front, "the toplevel events");
    if (!due && front != told) {
        fail("the frontmost application changed without a done or closed event");
    }
    told = front;
    bool anyActivated = false;
    for (const auto& [index, window] : windows) {
        if (window.shown.activated && expectedFor(window.shown.appId) == front) {
            return;
        }
        anyActivated = anyActivated || window.shown.activated;
    }
    if (anyActivated || front) {
        fail("the frontmost application is not that of a window shown activated");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    WlrToplevels toplevels(lookup);
    std::map<unsigned, Window> windows;
    std::optional<RunningApplication> told;
    while (!input.empty()) {
        const std::uint8_t event = input.byte();
        const unsigned index = event & 3u;
        auto* handle = reinterpret_cast<WlrToplevels::Handle>(std::uintptr_t{0x1000} + 16u * index);
        // Events of a handle not listed change no window.
        Window unlisted;
        auto& window = windows.contains(index) ? windows[index] : unlisted;
        std::string text;
        switch ((event >> 2) % 6) {
        case 0:
            toplevels.add(handle);
            windows.try_emplace(index);
            break;
        case 1:
            text = input.text();
            toplevels.appId(handle, text.c_str());
            window.pending.appId = text.substr(0, text.find('\0'));
            break;
        case 2:
            window.pending.activated = sendState(toplevels, handle, input.text());
            break;
        case 3:
            toplevels.done(handle);
            window.shown = window.pending;
            break;
        case 4:
            toplevels.closed(handle);
            windows.erase(index);
            break;
        default:
            checkFrontmost(toplevels, windows, told);
        }
    }
    checkFrontmost(toplevels, windows, told);
    return 0;
}
