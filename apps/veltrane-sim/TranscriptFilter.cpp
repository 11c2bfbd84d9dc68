#include "TranscriptFilter.h"

#include "ScenarioError.h"

#include <algorithm>
#include <array>

namespace veltrane::scenario {

namespace {

constexpr std::array<std::string_view, 24> kKnownKinds = {
    "deliver",     "post",    "keymap", "notify",    "alert",   "capslock", "image",  "syslog",
    "log",         "open",    "exit",   "tap",       "window",  "launch",   "status", "menuitem",
    "distributed", "openapp", "shell",  "loginitem", "touches", "warp",     "haptic", "devices",
};

}  // namespace

TranscriptFilter::TranscriptFilter(std::string_view kinds)
{
    while (!kinds.empty()) {
        const auto comma = kinds.find(',');
        const std::string_view kind = kinds.substr(0, comma);
        if (std::find(kKnownKinds.begin(), kKnownKinds.end(), kind) == kKnownKinds.end()) {
            throw ScenarioError("unknown transcript kind '" + std::string(kind) + "'");
        }
        kinds_.emplace(kind);
        kinds = comma == std::string_view::npos ? std::string_view() : kinds.substr(comma + 1);
    }
}

bool TranscriptFilter::keeps(std::string_view kind) const
{
    return kinds_.empty() || kinds_.contains(kind);
}

}  // namespace veltrane::scenario
