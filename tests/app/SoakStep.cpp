#include "SoakStep.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace veltrane::testing {

namespace {

constexpr std::array kNames = {"key",  "wait",   "click", "front", "menu",          "setting",
                               "plug", "unplug", "sleep", "wake",  "session-active"};

std::string secondsText(double seconds)
{
    char text[16];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

// The place in the list of what the step names.
template <class List, class Named>
std::uint8_t placeOf(const List& list, const std::string& name, Named named)
{
    for (std::size_t place = 0; place < list.size(); ++place) {
        if (named(list[place]) == name) {
            return static_cast<std::uint8_t>(place);
        }
    }
    throw std::invalid_argument("no step names '" + name + "'");
}

}  // namespace

std::string SoakStep::text() const
{
    const std::string which = std::to_string(keyboard);
    switch (kind) {
    case Kind::key:
        return "key " + which + " " + kKeys[choice % kKeys.size()];
    case Kind::wait:
        return "wait " + secondsText(kWaits[choice % kWaits.size()]);
    case Kind::click:
        return "click";
    case Kind::front:
        return std::string("front ") + kApplications[choice % kApplications.size()];
    case Kind::menu:
        return std::string("menu ") + kMenuActions[choice % kMenuActions.size()].second;
    case Kind::setting: {
        const auto& [key, value] = kSettings[choice % kSettings.size()];
        return std::string("setting ") + key + " " + std::to_string(value);
    }
    case Kind::plug:
        return "plug";
    case Kind::unplug:
        return "unplug " + which;
    case Kind::sleep:
        return "sleep";
    case Kind::wake:
        return "wake";
    case Kind::sessionActive:
        return "session-active";
    }
    return "?";
}

SoakStep SoakStep::parse(const std::string& text)
{
    std::istringstream words(text);
    std::string name;
    std::string first;
    std::string second;
    words >> name >> first >> second;
    SoakStep step{static_cast<Kind>(placeOf(kNames, name, [](const char* known) { return std::string(known); }))};
    const auto keyboard = [&] { return static_cast<std::uint8_t>(std::stoi(first)); };
    switch (step.kind) {
    case Kind::key:
        step.keyboard = keyboard();
        step.choice = placeOf(kKeys, second, [](const char* key) { return std::string(key); });
        break;
    case Kind::wait:
        step.choice = placeOf(kWaits, first, secondsText);
        break;
    case Kind::front:
        step.choice = placeOf(kApplications, first, [](const char* application) { return std::string(application); });
        break;
    case Kind::menu:
        step.choice = placeOf(kMenuActions, first, [](const auto& action) { return std::string(action.second); });
        break;
    case Kind::setting:
        step.choice = placeOf(kSettings, first + " " + second, [](const auto& setting) {
            return std::string(setting.first) + " " + std::to_string(setting.second);
        });
        break;
    case Kind::unplug:
        step.keyboard = keyboard();
        break;
    default:
        break;
    }
    return step;
}

}  // namespace veltrane::testing
