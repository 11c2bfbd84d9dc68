#include "TouchEventText.h"

#include "platform/sim/EventText.h"
#include "touch/TouchPhase.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace veltrane::scenario {

namespace {

std::string phaseName(std::int64_t phase)
{
    switch (phase) {
    case TouchPhase::began:
        return "began";
    case TouchPhase::moved:
        return "moved";
    case TouchPhase::stationary:
        return "stationary";
    case TouchPhase::ended:
        return "ended";
    case TouchPhase::cancelled:
        return "cancelled";
    default:
        return std::to_string(phase);
    }
}

}  // namespace

std::string describeTouchEvent(const TouchEvent& event)
{
    std::string text = "device=" + sim::hexText(event.deviceId) + " phase=" + sim::hexText(event.phaseHex) +
                       " raw=" + sim::hexText(event.rawPhaseHex) +
                       " ended=" + (event.gestureEnded ? "true" : "false") +
                       " moved=" + (event.gestureMoved ? "true" : "false");
    std::vector<const Touch*> touches;
    for (const Touch& touch : event.touches) {
        touches.push_back(&touch);
    }
    std::stable_sort(touches.begin(), touches.end(),
                     [](const Touch* a, const Touch* b) { return a->id < b->id; });
    for (const Touch* touch : touches) {
        char position[64];
        std::snprintf(position, sizeof position, "%.3f,%.3f", static_cast<double>(touch->pos.x),
                      static_cast<double>(touch->pos.y));
        text += " [" + std::to_string(touch->id) + " " + phaseName(touch->phase) + " " + position + "]";
    }
    return text;
}

}  // namespace veltrane::scenario
