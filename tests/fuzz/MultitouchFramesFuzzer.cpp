// Any contact frames of a built-in trackpad and a plugged-in one, handed to the engine's frame
// handler through the framework's callback, as the Linux touchpad hands them: any contact count,
// stages in any order, path ids reused, positions and sizes that are not numbers or infinite, times
// that go back. The first byte chooses the slides wanted and the filters; then each frame is a
// header [count:3][time back:1][pad:1] (count 7: a byte says it), a byte of time, and eight bytes a
// contact: path, stage, x, y, vx, vy, pressure, size. At the end every path left on a pad lifts.
// Checked on every input:
// - every event counts the touches it holds, each in a phase;
// - no touch is reported still touching in the frame that lifts it;
// - once every finger has lifted, the hyper state is let go: no flag held, the indicator off.

#include "FuzzInput.h"
#include "core/KeyPresser.h"
#include "platform/sim/Desktop.h"
#include "touch/MTTrackpadRegistrar.h"
#include "touch/OneDrawRecognizer.h"
#include "touch/TouchPhase.h"

#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace {

using namespace veltrane;
using fuzz::fail;
using fuzz::FuzzInput;

constexpr std::array<std::uint64_t, 2> kPads{0x0200000001000000, 0x0400000000003000};
constexpr platform::MTPoint kSize{16000.0f, 11000.0f};
constexpr std::array<std::int32_t, 4> kOddPaths{-1, INT_MIN, INT_MAX, 1 << 20};
constexpr std::array<float, 8> kOddNumbers{NAN,      INFINITY, -INFINITY, FLT_MAX,
                                           -FLT_MAX, FLT_MIN,  -0.0f,     1e-45f};
// The ranges of x and y (a little past both edges), the velocities, pressure and size.
constexpr std::array<std::pair<float, float>, 6> kRanges{
    {{-0.05f, 1.07f}, {-0.05f, 1.07f}, {-1.5f, 1.5f}, {-1.5f, 1.5f}, {0.0f, 2.0f}, {0.0f, 40.0f}}};

struct Indicator final : HyperIndicator {
    void showHyper(bool held) override { shown = held; }
    bool shown = false;
};

// A number of the range, or an odd one.
float number(std::uint8_t byte, std::pair<float, float> range)
{
    const auto [low, high] = range;
    return byte < 248 ? low + (high - low) * static_cast<float>(byte) / 247.0f : kOddNumbers[byte - 248];
}

platform::MTTouch contact(std::int32_t path, platform::MTPathStage stage, const std::array<float, 6>& values)
{
    const platform::MTPoint position{values[0], values[1]};
    const platform::MTPoint velocity{values[2], values[3]};
    return {.pathIndex = path,
            .stage = stage,
            .normalizedVector = {position, velocity},
            .zTotal = values[4],
            .majorAxis = values[5],
            .minorAxis = values[5] * 0.8f,
            .absoluteVector = {{position.x * kSize.x, position.y * kSize.y},
                               {velocity.x * kSize.x, velocity.y * kSize.y}}};
}

class Engine {
public:
    explicit Engine(std::uint8_t settings) : platform_(launch(desktop_, settings))
    {
        model_.addDevice(kPads[0], DeviceType::internalTrackpad2);
        model_.addDevice(kPads[1], DeviceType::magicTrackpad2);
    }

    void run(FuzzInput& input)
    {
        while (!input.empty()) {
            const std::uint8_t header = input.byte();
            const std::size_t pad = header >> 4 & 1;
            std::vector<platform::MTTouch> contacts(
                static_cast<std::size_t>((header & 7) == 7 ? input.byte() : header & 7));
            const double step = input.byte() * 0.004;
            time_ += (header & 8) != 0 ? -step : step;
            desktop_.scheduler().advance((header & 8) != 0 ? 0.0 : step);
            for (auto& touch : contacts) {
                const std::uint8_t path = input.byte();
                const auto stage = static_cast<std::int8_t>(input.byte()) % 10;
                std::array<float, kRanges.size()> values{};
                for (std::size_t value = 0; value < values.size(); ++value) {
                    values[value] = number(input.byte(), kRanges[value]);
                }
                touch = contact(path < 240 ? path % 12 : kOddPaths[path % kOddPaths.size()], stage, values);
                if (stage >= 5 && stage <= 7) {
                    onPads_.erase({pad, touch.pathIndex});
                } else {
                    onPads_.insert({pad, touch.pathIndex});
                }
            }
            deliver(pad, contacts);
        }
        liftAll(0);
        liftAll(1);
        if (hyperFlags_.state() != 0 || indicator_.shown) {
            fail("the hyper state is held with every finger lifted");
        }
    }

private:
    // The settings are read as the tracker and the recognizer are made.
    static const platform::Platform& launch(sim::Desktop& desktop, std::uint8_t settings)
    {
        for (const auto id : kPads) {
            desktop.multitouch().connect({std::to_string(id), id, 0, id == kPads[0], true, 16000, 11000});
        }
        const platform::Platform& platform = desktop.launch().platform();
        platform.userDefaults.setBool("usePrivateFramework", true);
        platform.userDefaults.setInteger("gestures", settings & 0x1F);
        platform.userDefaults.setBool("disablePalmRejection", (settings & 0x20) != 0);
        platform.userDefaults.setBool("disableThumbRejection", (settings & 0x40) != 0);
        platform.userDefaults.setFloat("filterLightTouches", (settings & 0x80) != 0 ? 0.3f : 0.0f);
        return platform;
    }

    void deliver(std::size_t pad, std::vector<platform::MTTouch>& contacts)
    {
        for (auto& touch : contacts) {
            touch.frame = frame_;
            touch.timestamp = time_;
        }
        reported_.reset();
        MTTrackpadRegistrar::handleContactFrame(devices_[pad].get(), contacts.data(),
                                                static_cast<int>(contacts.size()), time_, frame_++,
                                                &registrar_);
        desktop_.scheduler().runUntilIdle();
    }

    void liftAll(std::size_t pad)
    {
        std::vector<platform::MTTouch> contacts;
        for (const auto& [on, path] : onPads_) {
            if (on == pad) {
                contacts.push_back(contact(path, 5, {0.5f, 0.5f, 0.0f, 0.0f, 1.0f, 6.0f}));
            }
        }
        if (!contacts.empty()) {
            deliver(pad, contacts);
        }
        for (const Touch& touch : reported_ && !contacts.empty() ? reported_->touches : TouchSet{}) {
            if (touch.phase != TouchPhase::ended && touch.phase != TouchPhase::cancelled) {
                fail("a touch is reported touching in the frame that lifts it: " + std::to_string(touch.id));
            }
        }
    }

    static void wellFormed(const TouchEvent& event)
    {
        if (event.touchCount != static_cast<std::int64_t>(event.touches.size())) {
            fail("an event counts other touches than it holds");
        }
        for (const Touch& touch : event.touches) {
            if (TouchPhase::summaryWeight(touch.phase) == 0) {
                fail("a touch has no phase: " + std::to_string(touch.phase));
            }
        }
    }

    sim::Desktop desktop_;
    const platform::Platform& platform_;
    Defaults defaults_{platform_.userDefaults};
    HyperFlags hyperFlags_{defaults_};
    KeyPresser keyPresser_{platform_.eventPoster};
    Indicator indicator_;
    OneDrawRecognizer recognizer_{platform_, defaults_, hyperFlags_, keyPresser_, indicator_};
    DevicesModel model_{platform_.bindings, true};
    std::optional<TouchEvent> reported_;
    MTTrackpadRegistrar registrar_{platform_,
                                   defaults_,
                                   model_,
                                   {[this](const TouchEvent& event) {
                                        wellFormed(event);
                                        reported_ = event;
                                        recognizer_.recognize(event);
                                    },
                                    {},
                                    nullptr}};
    std::array<platform::MTDeviceRef, 2> devices_{platform_.multitouch.MTDeviceCreateFromDeviceID(kPads[0]),
                                                  platform_.multitouch.MTDeviceCreateFromDeviceID(kPads[1])};
    // The pad and path of each contact not lifted: the two pads may use the same paths at once.
    std::set<std::pair<std::size_t, std::int32_t>> onPads_;
    double time_ = 100.0;
    int frame_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    Engine(input.byte()).run(input);
    return 0;
}
