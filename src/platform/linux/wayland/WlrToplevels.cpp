#include "platform/linux/wayland/WlrToplevels.h"

#include "platform/linux/system/PrintableText.h"

#include <wayland-client.h>
#include <wlr-foreign-toplevel-management-unstable-v1-client-protocol.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace veltrane::linuxbackend {

namespace {

// The array is the compositor's: it may end within a value.
bool includesActivated(const wl_array& states)
{
    const auto* bytes = static_cast<const char*>(states.data);
    std::uint32_t state = 0;
    for (std::size_t i = 0; i < states.size / sizeof state; ++i) {
        std::memcpy(&state, bytes + i * sizeof state, sizeof state);
        if (state == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED) {
            return true;
        }
    }
    return false;
}

}  // namespace

void WlrToplevels::add(Handle toplevel)
{
    toplevels_.try_emplace(toplevel);
}

void WlrToplevels::appId(Handle toplevel, const char* appId)
{
    if (const auto found = toplevels_.find(toplevel); found != toplevels_.end()) {
        found->second.pending.appId = appId != nullptr ? appId : "";
    }
}

void WlrToplevels::state(Handle toplevel, const wl_array& states)
{
    if (const auto found = toplevels_.find(toplevel); found != toplevels_.end()) {
        found->second.pending.activated = includesActivated(states);
    }
}

void WlrToplevels::done(Handle toplevel)
{
    if (const auto found = toplevels_.find(toplevel); found != toplevels_.end()) {
        found->second.shown = found->second.pending;
        reviewDue_ = true;
    }
}

void WlrToplevels::closed(Handle toplevel)
{
    reviewDue_ = toplevels_.erase(toplevel) > 0 || reviewDue_;
}

std::vector<WlrToplevels::Handle> WlrToplevels::handles() const
{
    std::vector<Handle> all;
    for (const auto& [handle, toplevel] : toplevels_) {
        all.push_back(handle);
    }
    return all;
}

std::optional<platform::RunningApplication> WlrToplevels::frontmost()
{
    reviewDue_ = false;
    const auto front =
        std::ranges::find_if(toplevels_, [](const auto& entry) { return entry.second.shown.activated; });
    const std::string appId = front == toplevels_.end() ? "" : front->second.shown.appId;
    if (appId != frontAppId_) {
        frontAppId_ = appId;
        front_ = identify(appId);
    }
    return front_;
}

std::optional<platform::RunningApplication> WlrToplevels::identify(const std::string& appId) const
{
    if (appId.empty()) {
        return std::nullopt;
    }
    if (auto known = lookup_ ? lookup_(appId) : std::nullopt) {
        return known;
    }
    return isPrintableText(appId) ? std::optional(platform::RunningApplication{appId, appId}) : std::nullopt;
}

}  // namespace veltrane::linuxbackend
