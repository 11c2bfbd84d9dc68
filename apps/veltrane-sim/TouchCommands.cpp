#include "TouchCommands.h"

#include "ScenarioError.h"
#include "ScenarioSyntax.h"

#include "platform/Multitouch.h"

#include <limits>

namespace veltrane::scenario {

namespace {

using Words = TouchCommands::Words;

constexpr std::int32_t kDefaultWidth = 16000;
constexpr std::int32_t kDefaultHeight = 11000;
constexpr double kDefaultPointWidth = 400.0;
constexpr double kDefaultPointHeight = 300.0;

std::int32_t parseInt32(const std::string& name, const std::string& word)
{
    const std::int64_t value = parseInteger(word);
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw ScenarioError(name + " '" + word + "' does not fit 32 bits");
    }
    return static_cast<std::int32_t>(value);
}

// The contacts or touches of a line: the words from `first` to `end`, split at each "|". No words
// make no group.
std::vector<Words> groups(const Words& words, std::size_t first, std::size_t end)
{
    std::vector<Words> result;
    Words group;
    for (std::size_t i = first; i < end; ++i) {
        if (words[i] == "|") {
            result.push_back(std::move(group));
            group.clear();
        } else {
            group.push_back(words[i]);
        }
    }
    if (!group.empty() || !result.empty()) {
        result.push_back(std::move(group));
    }
    return result;
}

std::map<std::string, std::string, std::less<>> required(const Words& group,
                                                         const std::vector<std::string_view>& allowed,
                                                         const std::vector<std::string_view>& needed)
{
    auto options = parseOptions(group, 0, allowed);
    for (const auto name : needed) {
        if (!options.contains(name)) {
            std::string text;
            for (const auto& word : group) {
                text += (text.empty() ? "" : " ") + word;
            }
            throw ScenarioError("missing " + std::string(name) + "= in '" + text + "'");
        }
    }
    return options;
}

float number(const std::map<std::string, std::string, std::less<>>& options, std::string_view name,
             double fallback)
{
    const auto found = options.find(name);
    return static_cast<float>(found == options.end() ? fallback : parseNumber(found->second));
}

std::uint64_t locationOf(const std::map<std::string, std::string, std::less<>>& options)
{
    const auto found = options.find("location");
    return found == options.end() ? 0 : static_cast<std::uint64_t>(parseInteger(found->second));
}

platform::MTTouch contact(const Words& group, const sim::MultitouchBus::Device& device)
{
    const auto options =
        required(group, {"id", "stage", "x", "y", "vx", "vy", "z", "major", "minor", "ax", "ay"},
                 {"id", "stage", "x", "y"});
    platform::MTTouch touch{};
    touch.pathIndex = parseInt32("id", options.at("id"));
    touch.stage = parseInt32("stage", options.at("stage"));
    touch.normalizedVector.position = {number(options, "x", 0.0), number(options, "y", 0.0)};
    touch.normalizedVector.velocity = {number(options, "vx", 0.0), number(options, "vy", 0.0)};
    touch.zTotal = number(options, "z", 1.0);
    touch.majorAxis = number(options, "major", 6.0);
    touch.minorAxis = number(options, "minor", 5.0);
    const double x = static_cast<double>(touch.normalizedVector.position.x);
    const double y = static_cast<double>(touch.normalizedVector.position.y);
    touch.absoluteVector.position = {number(options, "ax", x * device.width),
                                     number(options, "ay", y * device.height)};
    return touch;
}

platform::TouchPhase parsePhase(const std::string& word)
{
    static const std::map<std::string, platform::TouchPhase, std::less<>> phases = {
        {"began", 1}, {"moved", 2}, {"stationary", 4}, {"ended", 8}, {"cancelled", 16}};
    const auto found = phases.find(word);
    if (found == phases.end()) {
        throw ScenarioError("unknown touch phase '" + word + "'");
    }
    return found->second;
}

platform::GestureTouch gestureTouch(const Words& group)
{
    const auto options = required(group, {"id", "phase", "x", "y", "w", "h"}, {"id", "phase", "x", "y"});
    platform::GestureTouch touch;
    touch.identityHash = parseInteger(options.at("id"));
    touch.phase = parsePhase(options.at("phase"));
    touch.normalizedPosition = {parseNumber(options.at("x")), parseNumber(options.at("y"))};
    const auto size = [&](std::string_view name, double fallback) {
        const auto found = options.find(name);
        return found == options.end() ? fallback : parseNumber(found->second);
    };
    touch.deviceSize = {size("w", kDefaultPointWidth), size("h", kDefaultPointHeight)};
    return touch;
}

}  // namespace

void TouchCommands::model(const Words& words)
{
    desktop_.setModel(words[1]);
}

void TouchCommands::trackpad(const Words& words)
{
    const auto options = parseOptions(
        words, 2, {"vendor", "product", "location", "product-name", "force", "builtin", "width", "height"});
    sim::SimHidDevice::Properties properties;
    sim::SimHidDevice::Properties service;
    sim::MultitouchBus::Device device{words[1], 0, 0, false, false, kDefaultWidth, kDefaultHeight};
    for (const auto& [name, value] : options) {
        if (addHidProperty(name, value, properties)) {
            continue;
        }
        if (name == "product-name") {
            properties.emplace(platform::kHidProduct, parseText(value));
        } else if (name == "force") {
            device.supportsForce = parseYesNo(name, value);
        } else if (name == "builtin") {
            device.builtIn = parseYesNo(name, value);
        } else {
            (name == "width" ? device.width : device.height) = parseInt32(name, value);
        }
    }
    if (device.supportsForce) {
        service.emplace("ForceSupported", true);
    }
    device.deviceId = platform::Multitouch::deviceIdForLocation(locationOf(options), device.builtIn);
    desktop_.hid().connectPointingDevice(words[1], std::move(properties), std::move(service));
    desktop_.multitouch().connect(std::move(device));
}

void TouchCommands::mouse(const Words& words)
{
    const auto options = parseOptions(words, 2, {"vendor", "product", "location", "family"});
    sim::SimHidDevice::Properties properties;
    for (const auto& [name, value] : options) {
        addHidProperty(name, value, properties);
    }
    desktop_.hid().connectPointingDevice(words[1], std::move(properties), {});
    // Only multitouch mice are devices of the framework.
    if (const auto family = options.find("family"); family != options.end()) {
        desktop_.multitouch().connect({words[1],
                                       platform::Multitouch::deviceIdForLocation(locationOf(options), false),
                                       parseInt32("family", family->second), false, false, 0, 0});
    }
}

void TouchCommands::frame(const Words& words)
{
    const auto& device = frameworkDevice(words[1]);
    std::vector<platform::MTTouch> contacts;
    for (const Words& group : groups(words, 2, words.size())) {
        contacts.push_back(contact(group, device));
    }
    const double now = desktop_.clock().now();
    for (auto& touch : contacts) {
        touch.timestamp = now;
    }
    desktop_.multitouch().frame(device, contacts, now);
}

void TouchCommands::gesture(const Words& words)
{
    const auto& device = frameworkDevice(words[1]);
    std::size_t end = words.size();
    platform::Event event;
    if (end > 2 && words[end - 1].starts_with("subtype=")) {
        event.subtype = parseInteger(std::string_view(words[end - 1]).substr(8));
        --end;
    }
    auto touches = std::make_shared<std::vector<platform::GestureTouch>>();
    for (const Words& group : groups(words, 2, end)) {
        touches->push_back(gestureTouch(group));
    }
    event.type = platform::EventType::gesture;
    event.flags = desktop_.windowServer().modifierFlags();
    event.location = desktop_.windowServer().pointerLocation();
    event.timestamp = desktop_.clock().now();
    event.deviceId = static_cast<std::int64_t>(device.deviceId);
    event.touches = std::move(touches);
    desktop_.windowServer().eventFromDevice(event);
}

void TouchCommands::pointer(const Words& words)
{
    desktop_.windowServer().movePointer({parseNumber(words[1]), parseNumber(words[2])});
}

const sim::MultitouchBus::Device& TouchCommands::frameworkDevice(const std::string& name) const
{
    const auto device = desktop_.multitouch().find(name);
    if (!device) {
        throw ScenarioError("no multitouch device '" + name + "'");
    }
    return *device;
}

}  // namespace veltrane::scenario
