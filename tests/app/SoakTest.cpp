#include "SoakDriver.h"
#include "SoakPlan.h"
#include "app/ApplicationToggle.h"
#include "app/CompositionRoot.h"
#include "logging/Logging.h"
#include "platform/Event.h"
#include "platform/sim/EventText.h"
#include "platform/sim/TranscriptDestination.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>

namespace veltrane::testing {
namespace {

// keyboardConnectionDelay as the soak leaves it: a keyboard plugged in is mapped that much later.
constexpr double kConnectionDelay = 1.0;
constexpr platform::EventFlags kModifiers =
    platform::kFlagShift | platform::kFlagControl | platform::kFlagOption | platform::kFlagCommand;

// A mapping as its entries sorted, without those that map a key to itself: they change nothing.
std::string normalMapping(const std::string& text)
{
    std::istringstream words(text);
    std::vector<std::string> entries{std::istream_iterator<std::string>(words), {}};
    std::erase_if(entries, [](const std::string& entry) {
        const auto arrow = entry.find("->");
        return arrow != std::string::npos && entry.substr(0, arrow) == entry.substr(arrow + 2);
    });
    std::sort(entries.begin(), entries.end());
    std::string joined;
    for (const auto& entry : entries) {
        joined += (joined.empty() ? "" : " ") + entry;
    }
    return joined.empty() ? "(empty)" : joined;
}

// A mapping of the keyboard page, as the desktop shows it.
std::string mapped(std::uint32_t from, std::uint32_t to)
{
    return sim::hexText(0x700000000 | from) + "->" + sim::hexText(0x700000000 | to);
}

// The key mapping every keyboard must have as the settings stand: none where the engine stands
// aside for the application in front; else the hyper key, when it is a key of its own, becomes
// left Command; caps lock as the hyper key too, unless told to keep its lock; otherwise caps lock
// goes where its remap says (nowhere when the listener sends its key).
std::string expectedMapping(SharedInstances& shared)
{
    const auto* toggle = shared.applicationToggle();
    if (toggle != nullptr && toggle->disabledForApp()) {
        return "(empty)";
    }
    Defaults& defaults = shared.defaults();
    constexpr std::uint32_t kCapsLock = 0x39;
    constexpr std::uint32_t kLeftCommand = 0xE3;
    const bool hyper = defaults.keyRemap().isOn();
    const auto physical = defaults.physicalKeycode().value();
    std::string mapping = hyper && physical == 0x68 ? mapped(0x68, kLeftCommand) : "";
    const auto add = [&](const std::string& entry) { mapping += (mapping.empty() ? "" : " ") + entry; };
    if (hyper && physical == kCapsLock && !defaults.hyperAsCapsLockDisables().isOff()) {
        add(mapped(kCapsLock, kLeftCommand));
    } else if (defaults.capsLockRemapped().isOn()) {
        const auto destination = defaults.capsLockKeycode().value();
        const bool silenced = destination == -1 || defaults.listenerRemap().isOn();
        add(mapped(kCapsLock, silenced ? 0 : static_cast<std::uint32_t>(destination)));
    }
    return normalMapping(mapping);
}

// The application on a simulated desktop in virtual time. After every step it checks what the
// desktop was given.
class SoakRun {
public:
    SoakRun()
    {
        desktop_.setApplicationFactory([this](const platform::Platform& platform) {
            auto made = makeApplication(platform, {.loggingSetup = [this](bool toFile, logging::Level level) {
                logging::Logging::zorvDefaults(toFile, level);
                logging::Logging::registerDestination(log_);
            }});
            application_ = made.get();
            return made;
        });
        desktop_.transcript().setSink([this](const sim::Transcript::Line& line) { observe(line); });
        driver_.emplace(desktop_, [this]() -> SharedInstances& { return shared(); }, [this](double seconds) { desktop_.scheduler().advance(seconds); });
        driver_->prepare();
        desktop_.launch();
        desktop_.scheduler().runUntilIdle();
    }
    ~SoakRun() { logging::Logging::unregisterDestination(log_); }
    // Keeps what the desktop did, for transcript(), rather than forgetting it after each step.
    void keepTranscript() { keepTranscript_ = true; }
    std::string transcript() const { return desktop_.transcript().text(); }
    // Whether a key ever reached an application with the hyper modifiers.
    bool hyperKeyWorked() const { return hyperKeyWorked_; }
    SoakRun(const SoakRun&) = delete;
    SoakRun& operator=(const SoakRun&) = delete;

    struct Failure {
        std::size_t step;
        std::string what;
    };
    // Plays the steps, then lets go of every key; stops at the first step after which the
    // desktop holds what it should not.
    std::optional<Failure> play(const std::vector<SoakStep>& steps)
    {
        for (std::size_t at = 0; at <= steps.size(); ++at) {
            if (at < steps.size()) {
                driver_->play(steps[at]);
            } else {
                driver_->releaseAll();
            }
            desktop_.scheduler().runUntilIdle();
            if (!keepTranscript_) {
                desktop_.transcript().clear();
            }
            if (auto broken = check()) {
                return Failure{at, *broken};
            }
        }
        return std::nullopt;
    }

private:
    SharedInstances& shared() { return application_->sharedInstances(); }

    void observe(const sim::Transcript::Line& line)
    {
        if (line.kind == "deliver" && (line.text.starts_with("keyDown ") || line.text.starts_with("keyUp "))) {
            const auto key = line.text.find("key=");
            keysDown_[line.text.substr(key, line.text.find(' ', key) - key)] = line.text.starts_with("keyDown ");
            hyperKeyWorked_ = hyperKeyWorked_ || line.text.ends_with(" flags=0x1e0000");
        } else if (line.kind == "keymap") {
            const auto space = line.text.find(' ');
            mappings_[line.text.substr(0, space)] = line.text.substr(space + 1);
        } else if (line.kind == "log" && (line.text.empty() || line.text.find('\n') != std::string::npos) &&
                   broken_.empty()) {
            broken_ = "a log line is not one whole line: \"" + line.text + "\"";
        }
    }

    std::optional<std::string> check()
    {
        if (!broken_.empty()) {
            return std::exchange(broken_, {});
        }
        bool anyHeld = false;
        bool modifierHeld = false;
        for (const auto& keyboard : driver_->keyboards()) {
            const auto& held = driver_->held(keyboard);
            anyHeld = anyHeld || !held.empty();
            modifierHeld = modifierHeld || std::any_of(held.begin(), held.end(), [](const std::string& key) {
                               return key != "a" && key != "b" && key != "escape";
                           });
            // A keyboard plugged in gets the mapping a moment later.
            if (desktop_.scheduler().nowSeconds() < driver_->pluggedAt(keyboard) + kConnectionDelay) {
                continue;
            }
            const auto found = mappings_.find(keyboard);
            const std::string mapping = found == mappings_.end() ? "(empty)" : normalMapping(found->second);
            if (const auto expected = expectedMapping(shared()); mapping != expected) {
                return keyboard + " is mapped " + mapping + " where the settings say " + expected;
            }
        }
        const auto flags = desktop_.windowServer().modifierFlags() & kModifiers;
        if (flags != 0 && !modifierHeld) {
            return "modifiers " + std::to_string(flags) + " held with no modifier or hyper key down";
        }
        if (!anyHeld) {
            for (const auto& [key, down] : keysDown_) {
                if (down) {
                    return "with every key up, " + key + " is still down for the applications";
                }
            }
        }
        return std::nullopt;
    }

    sim::Desktop desktop_;
    std::shared_ptr<sim::TranscriptDestination> log_ = std::make_shared<sim::TranscriptDestination>(desktop_.transcript());
    AppDelegate* application_ = nullptr;
    std::optional<SoakDriver> driver_;
    // Whether the last event of each key delivered was its key down.
    std::map<std::string, bool> keysDown_;
    // The last mapping set on each keyboard.
    std::map<std::string, std::string> mappings_;
    std::string broken_;
    bool keepTranscript_ = false;
    bool hyperKeyWorked_ = false;
};

std::size_t fromEnvironment(const char* name, std::size_t otherwise)
{
    const char* text = std::getenv(name);
    return text == nullptr ? otherwise : std::stoul(text);
}

// Removes ever smaller runs of steps while what is left still fails, for at most a minute.
std::vector<SoakStep> shrink(std::vector<SoakStep> steps)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    for (std::size_t run = steps.size() / 2; run > 0; run /= 2) {
        for (std::size_t at = 0; at + run <= steps.size() && std::chrono::steady_clock::now() < until;) {
            auto fewer = steps;
            fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(at), fewer.begin() + static_cast<std::ptrdiff_t>(at + run));
            if (SoakRun().play(fewer)) {
                steps = std::move(fewer);
            } else {
                at += run;
            }
        }
    }
    return steps;
}

// Plays the steps; on a failure, says what failed and which steps still fail after shrinking,
// with what the desktop did for them.
void expectSoakHolds(const std::vector<SoakStep>& steps, const std::string& origin)
{
    SoakRun run;
    const auto failure = run.play(steps);
    if (!failure) {
        EXPECT_TRUE(run.hyperKeyWorked() || steps.size() < 1000) << origin << ": no hyper chord ever reached an application";
        return;
    }
    const auto failing = static_cast<std::ptrdiff_t>(std::min(failure->step + 1, steps.size()));
    const auto shrunk = shrink({steps.begin(), steps.begin() + failing});
    SoakRun replay;
    replay.keepTranscript();
    const auto again = replay.play(shrunk);
    std::string listed;
    for (const auto& step : shrunk) {
        listed += "  \"" + step.text() + "\",\n";
    }
    ADD_FAILURE() << origin << ", step " << failure->step << ": " << failure->what
                  << "\nthese steps, then every key let go, still fail: " << (again ? again->what : "?") << "\n"
                  << listed << "what the desktop did:\n" << replay.transcript();
}

// A long random run of typing, hyper chords, quick presses, clicks, settings changed, keyboards
// plugged in and pulled out, sleep and wake, session changes and other applications in front. After
// every step: no modifier is held that no key explains, every key that went down for the
// applications comes up once every key is up, each keyboard is mapped as the settings say, and the
// log lines are whole. VELTRANE_SOAK_SEED replays a run, VELTRANE_SOAK_STEPS sets its length.
TEST(SoakTest, NothingIsLeftHeldOrMappedOtherwiseThanTheSettingsSay)
{
    const auto seed = static_cast<unsigned>(fromEnvironment("VELTRANE_SOAK_SEED", std::random_device()()));
    expectSoakHolds(SoakPlan(seed).take(fromEnvironment("VELTRANE_SOAK_STEPS", 100'000)),
                    "seed " + std::to_string(seed));
}

// Steps the soak once shrank a failure to, kept so that the fault cannot come back unseen; a keyboard
// pulled out holding the hyper key is in the kernel test of keyboards that come and go.
TEST(SoakTest, StepsThatOnceFailedHoldNow)
{
    const std::vector<std::vector<std::string>> onceFailed = {
        // A setting changed while the engine stood aside for the application in front put the
        // mapping back on the keyboards.
        {"front com.apple.Terminal", "wait 1.1", "setting capsLockKeycode 41"},
        {"wait 0.3", "menu ignoreFrontMostApp", "wait 0.3", "wait 0.3", "wait 0.3", "setting capsLockRemapped 2"},
        // The caps lock remap sent by the listener, switched off in the settings, kept caps lock silent.
        {"setting capsLockRemapped 1", "menu synthesizeCapsLockRemap", "setting physicalKeycode 104", "wait 1.1",
         "setting listenerRemap 2"},
    };
    for (const auto& texts : onceFailed) {
        std::vector<SoakStep> steps;
        std::transform(texts.begin(), texts.end(), std::back_inserter(steps), SoakStep::parse);
        expectSoakHolds(steps, "\"" + texts.front() + "\"...");
    }
}

}  // namespace
}  // namespace veltrane::testing
