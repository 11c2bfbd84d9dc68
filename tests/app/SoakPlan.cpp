#include "SoakPlan.h"

namespace veltrane::testing {

namespace {

constexpr std::uint8_t kCapsLock = 2;
constexpr std::uint8_t kA = 0;

}  // namespace

std::vector<SoakStep> SoakPlan::next()
{
    using Kind = SoakStep::Kind;
    const int roll = std::uniform_int_distribution<int>(0, 999)(random_);
    const std::uint8_t keyboard = pick(4);
    if (roll < 400) {
        return {{Kind::key, keyboard, pick(SoakStep::kKeys.size())}};
    }
    if (roll < 620) {
        // Caps lock held over a few taps of a key.
        std::vector<SoakStep> chord{{Kind::key, keyboard, kCapsLock}};
        for (std::size_t taps = pick(3) + 1; taps > 0; --taps) {
            chord.insert(chord.end(), 2, {Kind::key, keyboard, kA});
        }
        chord.push_back({Kind::key, keyboard, kCapsLock});
        return chord;
    }
    if (roll < 680) {
        return {{Kind::wait, 0, pick(SoakStep::kWaits.size())}};
    }
    if (roll < 760) {
        return {{Kind::click}};
    }
    if (roll < 840) {
        return {{Kind::front, 0, pick(SoakStep::kApplications.size())}};
    }
    if (roll < 880) {
        return {{Kind::menu, 0, pick(SoakStep::kMenuActions.size())}};
    }
    if (roll < 940) {
        return {{Kind::setting, 0, pick(SoakStep::kSettings.size())}};
    }
    if (roll < 976) {
        return {{pick(2) == 0 ? Kind::plug : Kind::unplug, keyboard}};
    }
    constexpr std::array kDesktop = {Kind::sleep, Kind::wake, Kind::sessionActive};
    return {{kDesktop[pick(kDesktop.size())]}};
}

std::vector<SoakStep> SoakPlan::take(std::size_t count)
{
    std::vector<SoakStep> steps;
    while (steps.size() < count) {
        const auto more = next();
        steps.insert(steps.end(), more.begin(), more.end());
    }
    return steps;
}

std::uint8_t SoakPlan::pick(std::size_t count)
{
    return static_cast<std::uint8_t>(std::uniform_int_distribution<std::size_t>(0, count - 1)(random_));
}

}  // namespace veltrane::testing
