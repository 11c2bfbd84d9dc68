#include "SoakStep.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace veltrane::testing {

namespace {

using Kind = SoakStep::Kind;

constexpr std::array kNames = {"key",  "wait",   "click", "front", "menu",          "setting",
                               "plug", "unplug", "sleep", "wake",  "session-active"};

std::string secondsText(double seconds)
{
    char text[16];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

// The words of each choice in the list a step of that kind picks from; none when it picks nothing.
std::vector<std::string> choiceTexts(Kind kind)
{
    std::vector<std::string> texts;
    const auto into = std::back_inserter(texts);
    switch (kind) {
    case Kind::key:
        return {SoakStep::kKeys.begin(), SoakStep::kKeys.end()};
    case Kind::wait:
        std::ranges::transform(SoakStep::kWaits, into, secondsText);
        break;
    case Kind::front:
        return {SoakStep::kApplications.begin(), SoakStep::kApplications.end()};
    case Kind::menu:
        return {SoakStep::kMenuActions.begin(), SoakStep::kMenuActions.end()};
    case Kind::setting:
        std::ranges::transform(SoakStep::kSettings, into, [](const auto& setting) {
            return std::string(setting.first) + " " + std::to_string(setting.second);
        });
        break;
    default:
        break;
    }
    return texts;
}

bool namesKeyboard(Kind kind)
{
    return kind == Kind::key || kind == Kind::unplug;
}

}  // namespace

std::string SoakStep::text() const
{
    std::string text = kNames[static_cast<std::size_t>(kind)];
    if (namesKeyboard(kind)) {
        text += " " + std::to_string(keyboard);
    }
    if (const auto texts = choiceTexts(kind); !texts.empty()) {
        text += " " + texts[choice % texts.size()];
    }
    return text;
}

SoakStep SoakStep::parse(const std::string& text)
{
    std::istringstream words(text);
    std::string name;
    words >> name;
    const auto named = std::ranges::find(kNames, name);
    int keyboard = 0;
    if (named == kNames.end() ||
        (namesKeyboard(static_cast<Kind>(named - kNames.begin())) && !(words >> keyboard))) {
        throw std::invalid_argument("no step reads '" + text + "'");
    }
    SoakStep step{static_cast<Kind>(named - kNames.begin()), static_cast<std::uint8_t>(keyboard)};
    std::string rest;
    std::getline(words >> std::ws, rest);
    const auto texts = choiceTexts(step.kind);
    const auto chosen = std::ranges::find(texts, rest);
    if (!texts.empty() && chosen == texts.end()) {
        throw std::invalid_argument("no step names '" + rest + "'");
    }
    step.choice = static_cast<std::uint8_t>(chosen - texts.begin());
    return step;
}

}  // namespace veltrane::testing
