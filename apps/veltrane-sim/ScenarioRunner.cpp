#include "ScenarioRunner.h"

#include "KeyNames.h"
#include "MenuActionNames.h"
#include "ScenarioError.h"
#include "ScenarioSyntax.h"
#include "TouchEventText.h"
#include "app/CompositionRoot.h"
#include "logging/Logging.h"
#include "platform/sim/EventText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <istream>
#include <limits>
#include <map>
#include <stdexcept>

namespace veltrane::scenario {

namespace {

std::uint64_t parseFlags(const std::string& word)
{
    return static_cast<std::uint64_t>(parseInteger(word));
}

platform::DefaultsValue parseDefaultsValue(const std::string& word)
{
    if (word == "true" || word == "false") {
        return word == "true";
    }
    if (word.starts_with('"')) {
        return parseText(word);
    }
    try {
        return parseInteger(word);
    } catch (const ScenarioError&) {
        return parseNumber(word);
    }
}

// MAJOR.MINOR or MAJOR.MINOR.PATCH, in decimal digits.
platform::OperatingSystemVersion parseVersion(const std::string& word)
{
    const ScenarioError malformed("malformed version '" + word + "'");
    if (word.find_first_not_of("0123456789.") != std::string::npos) {
        throw malformed;
    }
    std::vector<int> parts;
    for (std::size_t begin = 0; begin <= word.size();) {
        const std::size_t dot = std::min(word.find('.', begin), word.size());
        int part = 0;
        const auto [end, error] = std::from_chars(word.data() + begin, word.data() + dot, part);
        if (error != std::errc() || end != word.data() + dot) {
            throw malformed;
        }
        parts.push_back(part);
        begin = dot + 1;
    }
    if (parts.size() < 2 || parts.size() > 3) {
        throw malformed;
    }
    return {parts[0], parts[1], parts.size() > 2 ? parts[2] : 0};
}

platform::HidResult parseResultCode(const std::string& word)
{
    const std::int64_t code = parseInteger(word);
    if (code < std::numeric_limits<std::int32_t>::min() || code > std::numeric_limits<std::uint32_t>::max()) {
        throw ScenarioError("result code '" + word + "' does not fit 32 bits");
    }
    return static_cast<platform::HidResult>(static_cast<std::uint32_t>(code));
}

}  // namespace

ScenarioRunner::ScenarioRunner(sim::Desktop& desktop, std::string_view only)
    : desktop_(desktop), logDestination_(std::make_shared<sim::TranscriptDestination>(desktop.transcript())),
      touchCommands_(desktop), kinds_(only), kindsFixed_(!only.empty())
{
    desktop_.setApplicationFactory([this](const platform::Platform& platform) {
        // The application sets logging up as always; the transcript then shows what its log would.
        auto loggingSetup = [this](bool logToFile, logging::Level minLevel) {
            logging::Logging::zorvDefaults(logToFile, minLevel);
            logDestination_->minLevel = minLevel;
            logging::Logging::registerDestination(logDestination_);
        };
        auto touchMonitor = [this](const TouchEvent& event) {
            desktop_.transcript().record("touches", describeTouchEvent(event));
        };
        return makeApplication(platform, {.loggingSetup = loggingSetup, .touchMonitor = touchMonitor});
    });
}

ScenarioRunner::~ScenarioRunner()
{
    logging::Logging::unregisterDestination(logDestination_);
}

const ScenarioRunner::Command& ScenarioRunner::command(const std::string& name)
{
    constexpr auto any = std::numeric_limits<std::size_t>::max();
    static const std::map<std::string, Command, std::less<>> commands = {
        {"default", {&ScenarioRunner::setDefault, 2, 2, "default KEY VALUE|unset"}},
        {"trusted", {&ScenarioRunner::setTrusted, 1, 1, "trusted yes|no"}},
        {"keyboard",
         {&ScenarioRunner::connectKeyboard, 1, 4, "keyboard NAME [vendor=N] [product=N] [location=N]"}},
        {"unplug", {&ScenarioRunner::unplug, 1, 1, "unplug NAME"}},
        {"launch", {&ScenarioRunner::launch, 0, 0, "launch"}},
        {"press", {&ScenarioRunner::press, 2, 2, "press NAME KEY"}},
        {"release", {&ScenarioRunner::release, 2, 2, "release NAME KEY"}},
        {"tap", {&ScenarioRunner::tap, 2, 2, "tap NAME KEY"}},
        {"event", {&ScenarioRunner::event, 1, 5, "event TYPE [key=N] [flags=N] [x=N] [y=N]"}},
        {"front", {&ScenarioRunner::front, 1, any, "front BUNDLEID [NAME...]"}},
        {"sleep", {&ScenarioRunner::workspace, 0, 0, "sleep"}},
        {"wake", {&ScenarioRunner::workspace, 0, 0, "wake"}},
        {"session-active", {&ScenarioRunner::workspace, 0, 0, "session-active"}},
        {"wait", {&ScenarioRunner::wait, 1, 1, "wait SECONDS"}},
        {"fault", {&ScenarioRunner::fault, 1, 2, "fault WHAT [ARG]"}},
        {"quit", {&ScenarioRunner::quit, 0, 0, "quit"}},
        {"menu", {&ScenarioRunner::menu, 1, 2, "menu ACTION | menu open [IDENTIFIER]"}},
        {"reopen", {&ScenarioRunner::reopen, 0, 0, "reopen"}},
        {"helper", {&ScenarioRunner::helper, 1, 1, "helper running|fails"}},
        {"installed", {&ScenarioRunner::installed, 1, 1, "installed BUNDLEID"}},
        {"os", {&ScenarioRunner::operatingSystem, 1, 1, "os VERSION"}},
        {"distributed", {&ScenarioRunner::distributed, 1, 2, "distributed NAME [OBJECT]"}},
        {"loginitem", {&ScenarioRunner::loginItem, 2, 2, "loginitem fails N"}},
        {"model", {&ScenarioRunner::touch, 1, 1, "model NAME"}},
        {"trackpad",
         {&ScenarioRunner::touch, 1, 9,
          "trackpad NAME [vendor=N] [product=N] [location=N] [product-name=\"TEXT\"] [force=yes|no] "
          "[builtin=yes|no] [width=N] [height=N]"}},
        {"mouse",
         {&ScenarioRunner::touch, 1, 5, "mouse NAME [vendor=N] [product=N] [location=N] [family=N]"}},
        {"frame", {&ScenarioRunner::touch, 1, any, "frame NAME CONTACT [| CONTACT...]"}},
        {"gesture", {&ScenarioRunner::touch, 1, any, "gesture NAME [TOUCH [| TOUCH...]] [subtype=N]"}},
        {"pointer", {&ScenarioRunner::touch, 2, 2, "pointer X Y"}},
        {"only", {&ScenarioRunner::only, 1, 1, "only KINDS"}},
    };
    const auto found = commands.find(name);
    if (found == commands.end()) {
        throw ScenarioError("unknown command '" + name + "'");
    }
    return found->second;
}

void ScenarioRunner::run(std::string_view line)
{
    const Words words = splitWords(line);
    if (words.empty()) {
        return;
    }
    const Command& found = command(words[0]);
    const std::size_t arguments = words.size() - 1;
    if (arguments < found.minArguments || arguments > found.maxArguments) {
        throw ScenarioError("wrong number of arguments, expected: " + std::string(found.usage));
    }
    try {
        (this->*found.handler)(words);
    } catch (const std::invalid_argument& refused) {
        // What the desktop refuses (an unknown or doubly connected keyboard) is the line's fault.
        throw ScenarioError(refused.what());
    }
    desktop_.scheduler().runUntilIdle();
}

std::optional<std::string> ScenarioRunner::runAll(std::istream& lines)
{
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string where = "scenario:" + std::to_string(number) + ": ";
        try {
            run(line);
        } catch (const ScenarioError& error) {
            return where + error.what();
        } catch (const std::logic_error& fault) {
            // The application did what the real program must never do (a cycle of waits).
            return where + "the application failed: " + fault.what();
        }
    }
    return std::nullopt;
}

int ScenarioRunner::exitStatus() const
{
    const sim::SimProcess* process = desktop_.process();
    return process == nullptr ? 0 : process->exitStatus().value_or(0);
}

void ScenarioRunner::setDefault(const Words& words)
{
    if (words[2] == "unset") {
        desktop_.defaults().erase(words[1]);
    } else {
        desktop_.defaults().insert_or_assign(words[1], parseDefaultsValue(words[2]));
    }
}

void ScenarioRunner::setTrusted(const Words& words)
{
    desktop_.setTrusted(parseYesNo("trusted", words[1]));
}

void ScenarioRunner::connectKeyboard(const Words& words)
{
    sim::SimKeyboard::Properties properties;
    for (const auto& [name, value] : parseOptions(words, 2, {"vendor", "product", "location"})) {
        addHidProperty(name, value, properties);
    }
    desktop_.hid().connect(words[1], std::move(properties));
}

void ScenarioRunner::unplug(const Words& words)
{
    desktop_.multitouch().unplug(words[1]);
    desktop_.hid().unplug(words[1]);
}

void ScenarioRunner::launch(const Words&)
{
    if (applicationRunning()) {
        throw ScenarioError("the application is already running");
    }
    desktop_.launch();
}

void ScenarioRunner::press(const Words& words)
{
    desktop_.hid().key(words[1], parseKey(words[2]), true);
}

void ScenarioRunner::release(const Words& words)
{
    desktop_.hid().key(words[1], parseKey(words[2]), false);
}

void ScenarioRunner::tap(const Words& words)
{
    const sim::HidKey key = parseKey(words[2]);
    desktop_.hid().key(words[1], key, true);
    desktop_.hid().key(words[1], key, false);
}

void ScenarioRunner::event(const Words& words)
{
    const auto type = sim::eventTypeFromName(words[1]);
    if (!type) {
        throw ScenarioError("unknown event type '" + words[1] + "'");
    }
    platform::Event event;
    event.type = *type;
    event.flags = desktop_.windowServer().modifierFlags();
    for (const auto& [name, value] : parseOptions(words, 2, {"key", "flags", "x", "y"})) {
        if (name == "key") {
            const std::int64_t key = parseInteger(value);
            if (key < 0 || key > std::numeric_limits<std::uint16_t>::max()) {
                throw ScenarioError("key code '" + value + "' is out of range");
            }
            event.keyCode = static_cast<std::uint16_t>(key);
        } else if (name == "flags") {
            event.flags = parseFlags(value);
        } else {
            (name == "x" ? event.location.x : event.location.y) = parseNumber(value);
        }
    }
    desktop_.windowServer().eventFromDevice(event);
}

void ScenarioRunner::front(const Words& words)
{
    platform::RunningApplication application;
    if (words[1] != "-") {
        application.bundleIdentifier = words[1];
    }
    for (std::size_t i = 2; i < words.size(); ++i) {
        application.localizedName =
            application.localizedName.value_or("").append(i > 2 ? " " : "").append(words[i]);
    }
    desktop_.activate(application);
}

void ScenarioRunner::workspace(const Words& words)
{
    using platform::WorkspaceNotification;
    const WorkspaceNotification notification = words[0] == "sleep" ? WorkspaceNotification::willSleep
                                               : words[0] == "wake"
                                                   ? WorkspaceNotification::didWake
                                                   : WorkspaceNotification::sessionDidBecomeActive;
    desktop_.notifyWorkspace(notification);
}

void ScenarioRunner::wait(const Words& words)
{
    const double seconds = parseNumber(words[1]);
    if (!std::isfinite(seconds) || seconds < 0.0 || !sim::Scheduler::delayToNanos(seconds)) {
        throw ScenarioError("wait takes a finite number of seconds, zero or more, not '" + words[1] + "'");
    }
    desktop_.scheduler().advance(seconds);
}

void ScenarioRunner::fault(const Words& words)
{
    constexpr platform::HidResult kGeneralError = static_cast<platform::HidResult>(0xE00002BCu);
    sim::Faults& faults = desktop_.faults();
    const std::string& what = words[1];
    const bool hasArgument = words.size() > 2;
    const bool takesArgument =
        what == "hid-open-error" || what == "hid-value-error" || what == "service-refuses";
    if (hasArgument && !takesArgument) {
        throw ScenarioError("fault " + what + " takes no argument");
    }
    if (what == "hid-open-denied") {
        faults.hidOpen = platform::kHidNotPermitted;
    } else if (what == "hid-open-error") {
        faults.hidOpen = hasArgument ? parseResultCode(words[2]) : kGeneralError;
    } else if (what == "hid-value-error") {
        faults.hidValue = hasArgument ? parseResultCode(words[2]) : kGeneralError;
    } else if (what == "tap-create-fails") {
        faults.tapCreate = true;
    } else if (what == "tap-timeout") {
        faults.tapNotice = platform::EventType::tapDisabledByTimeout;
    } else if (what == "tap-user-input") {
        faults.tapNotice = platform::EventType::tapDisabledByUserInput;
    } else if (what == "no-services") {
        faults.noServices = true;
    } else if (what == "mt-list-unavailable") {
        faults.multitouchList = true;
    } else if (what == "mt-start-fails") {
        faults.multitouchStart = true;
    } else if (what == "service-refuses") {
        if (!hasArgument || desktop_.hid().keyboard(words[2]) == nullptr) {
            throw ScenarioError("fault service-refuses needs a connected keyboard");
        }
        faults.refusingKeyboards.insert(words[2]);
    } else {
        throw ScenarioError("unknown fault '" + what + "'");
    }
}

void ScenarioRunner::quit(const Words&)
{
    runningProcess().terminate();
}

void ScenarioRunner::menu(const Words& words)
{
    if (words[1] == "open") {
        runningProcess().openMenu(words.size() > 2 ? std::optional<std::string>(words[2]) : std::nullopt);
        return;
    }
    if (words.size() > 2) {
        throw ScenarioError("menu " + words[1] + " takes no argument");
    }
    const platform::MenuAction action = parseMenuAction(words[1]);
    runningProcess().chooseMenuItem(action);
}

void ScenarioRunner::reopen(const Words&)
{
    runningProcess().reopen();
}

void ScenarioRunner::helper(const Words& words)
{
    if (words[1] == "running") {
        desktop_.helper().start();
    } else if (words[1] == "fails") {
        desktop_.faults().helperOpen = true;
    } else {
        throw ScenarioError("helper takes running or fails, not '" + words[1] + "'");
    }
}

void ScenarioRunner::installed(const Words& words)
{
    desktop_.applications().install(words[1]);
}

void ScenarioRunner::operatingSystem(const Words& words)
{
    desktop_.setOperatingSystemVersion(parseVersion(words[1]));
}

void ScenarioRunner::distributed(const Words& words)
{
    desktop_.postDistributed(words[1],
                             words.size() > 2 ? std::optional<std::string>(words[2]) : std::nullopt);
}

void ScenarioRunner::loginItem(const Words& words)
{
    if (words[1] != "fails") {
        throw ScenarioError("wrong number of arguments, expected: loginitem fails N");
    }
    const std::int64_t count = parseInteger(words[2]);
    if (count < 0 || count > std::numeric_limits<int>::max()) {
        throw ScenarioError("loginitem fails takes a count, zero or more, not '" + words[2] + "'");
    }
    desktop_.faults().loginItemFailures = static_cast<int>(count);
}

void ScenarioRunner::touch(const Words& words)
{
    static const std::map<std::string, void (TouchCommands::*)(const Words&), std::less<>> handlers = {
        {"model", &TouchCommands::model},     {"trackpad", &TouchCommands::trackpad},
        {"mouse", &TouchCommands::mouse},     {"frame", &TouchCommands::frame},
        {"gesture", &TouchCommands::gesture}, {"pointer", &TouchCommands::pointer},
    };
    (touchCommands_.*handlers.at(words[0]))(words);
}

bool ScenarioRunner::applicationRunning() const
{
    const sim::SimProcess* process = desktop_.process();
    return process != nullptr && process->alive();
}

sim::SimProcess& ScenarioRunner::runningProcess() const
{
    if (!applicationRunning()) {
        throw ScenarioError("the application is not running");
    }
    return *desktop_.process();
}

void ScenarioRunner::only(const Words& words)
{
    if (!kindsFixed_) {
        kinds_ = TranscriptFilter(words[1]);
    }
}

}  // namespace veltrane::scenario
