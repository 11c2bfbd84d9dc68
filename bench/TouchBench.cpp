// A trackpad sends about 90 to 120 frames a second, each through the frame handler on the
// framework's thread: a 10-contact frame must take at most 10 us at the 99th percentile and
// allocate nothing. On Linux the frame is first decoded from the pad's evdev events: the decoder
// allocates nothing either, and a 10-contact frame goes from its events to the recognizer in at
// most 2 us at the 99th percentile.

#include "AllocationCounter.h"
#include "app/StatusItem.h"
#include "core/KeyPresser.h"
#include "platform/linux/touch/ContactFrames.h"
#include "platform/sim/Desktop.h"
#include "touch/MTTrackpadRegistrar.h"
#include "touch/NSTouchTracker.h"
#include "touch/OneDrawRecognizer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <span>
#include <vector>

namespace veltrane {
namespace {

// One finger's life, repeated: it lands, moves for a second at 120 frames a second, and lifts.
constexpr int kFramesPerGesture = 120;
constexpr double kFrameInterval = 1.0 / 120.0;
// A day after the machine started: a begin time as long as the touches' ids get.
constexpr double kGestureStart = 86400.0 + 1.0 / 3.0;
constexpr std::uint64_t kDeviceId = 0x0400000000003000;

// Per-call durations, for the 99th percentile the mean hides.
class Percentile {
public:
    Percentile() { samples_.reserve(kCapacity); }

    template <class Call> void time(Call call)
    {
        const auto start = std::chrono::steady_clock::now();
        call();
        const auto end = std::chrono::steady_clock::now();
        if (samples_.size() < kCapacity) {
            samples_.push_back(std::chrono::duration<double, std::nano>(end - start).count());
        }
    }

    void report(benchmark::State& state)
    {
        if (samples_.empty()) {
            return;
        }
        const auto rank = samples_.begin() + static_cast<std::ptrdiff_t>(samples_.size() * 99 / 100);
        std::nth_element(samples_.begin(), rank, samples_.end());
        state.counters["p99_ns"] = *rank;
    }

private:
    static constexpr std::size_t kCapacity = 1 << 20;
    std::vector<double> samples_;
};

// Times each step, a frame; one whole gesture runs untimed first, since what the first gesture
// grows the later ones reuse.
template <class Step> void timeFrames(benchmark::State& state, Step step)
{
    for (int frame = 0; frame < kFramesPerGesture; ++frame) {
        step();
    }
    Percentile percentile;
    for (auto _ : AllocationCounter(state)) {
        percentile.time(step);
    }
    percentile.report(state);
}

platform::MTTouch contact(int finger, int frame)
{
    platform::MTTouch touch{};
    touch.pathIndex = finger;
    touch.stage = frame == 0 ? 3 : frame == kFramesPerGesture - 1 ? 5 : 4;
    touch.timestamp = kGestureStart + frame * kFrameInterval;
    touch.zTotal = 1.0f;
    touch.majorAxis = 6.0f;
    touch.minorAxis = 5.0f;
    const float x = 0.1f + 0.08f * static_cast<float>(finger) + 0.001f * static_cast<float>(frame);
    const float y = 0.3f + 0.002f * static_cast<float>(frame);
    touch.normalizedVector = {{x, y}, {0.2f, 0.3f}};
    touch.absoluteVector = {{x * 16000.0f, y * 11000.0f}, {0.0f, 0.0f}};
    return touch;
}

// The handler as the framework calls it, with the real tracker, device model and recognizer.
struct FrameHandler {
    FrameHandler() { model.addDevice(kDeviceId, DeviceType::magicTrackpad2); }

    static const platform::Platform& launch(sim::Desktop& desktop)
    {
        desktop.multitouch().connect({"tp", kDeviceId, 0, false, true, 16000, 11000});
        return desktop.launch().platform();
    }

    void handle(std::span<const platform::MTTouch> contacts, double timestamp, int frame)
    {
        MTTrackpadRegistrar::handleContactFrame(
            device.get(), contacts.data(), static_cast<int>(contacts.size()), timestamp, frame, &registrar);
    }

    sim::Desktop desktop;
    const platform::Platform& platform = launch(desktop);
    Defaults defaults{platform.userDefaults};
    HyperFlags hyperFlags{defaults};
    KeyPresser keyPresser{platform.eventPoster};
    StatusItem statusItem{platform, defaults};
    OneDrawRecognizer recognizer{platform, defaults, hyperFlags, keyPresser, statusItem};
    DevicesModel model{platform.bindings, false};
    MTTrackpadRegistrar registrar{
        platform,
        defaults,
        model,
        {[this](const TouchEvent& event) { recognizer.recognize(event); }, {}, nullptr}};
    platform::MTDeviceRef device = platform.multitouch.MTDeviceCreateFromDeviceID(kDeviceId);
};

void frameHandler(benchmark::State& state)
{
    const int contacts = static_cast<int>(state.range(0));
    FrameHandler handler;
    std::vector<std::vector<platform::MTTouch>> frames(kFramesPerGesture);
    for (int frame = 0; frame < kFramesPerGesture; ++frame) {
        for (int finger = 0; finger < contacts; ++finger) {
            frames[static_cast<std::size_t>(frame)].push_back(contact(finger, frame));
        }
    }

    int frame = 0;
    timeFrames(state, [&] {
        handler.handle(frames[static_cast<std::size_t>(frame)], kGestureStart + frame * kFrameInterval,
                       frame);
        frame = (frame + 1) % kFramesPerGesture;
    });
}
BENCHMARK(frameHandler)->Arg(5)->Arg(10)->ArgName("contacts");

// A 160 mm by 110 mm pad with pressure, as the kernel describes it.
const linuxbackend::TouchpadSurface kTouchpad{
    .x = {0, 4000, 25}, .y = {0, 2750, 25}, .pressure = {{0, 255, 0}}, .slots = 16};

input_event evdev(std::uint16_t type, std::uint16_t code, std::int32_t value)
{
    return {.time = {}, .type = type, .code = code, .value = value};
}

// The same gesture as the pad reports it: each report names every slot with its position and
// pressure; the first gives each contact its tracking id and the last lifts them all.
std::vector<std::vector<input_event>> evdevGesture(int contacts)
{
    std::vector<std::vector<input_event>> frames(kFramesPerGesture);
    for (int frame = 0; frame < kFramesPerGesture; ++frame) {
        auto& events = frames[static_cast<std::size_t>(frame)];
        for (int finger = 0; finger < contacts; ++finger) {
            const platform::MTPoint position = contact(finger, frame).normalizedVector.position;
            events.push_back(evdev(EV_ABS, ABS_MT_SLOT, finger));
            if (frame == 0 || frame == kFramesPerGesture - 1) {
                events.push_back(evdev(EV_ABS, ABS_MT_TRACKING_ID, frame == 0 ? finger : -1));
            }
            events.push_back(
                evdev(EV_ABS, ABS_MT_POSITION_X, static_cast<std::int32_t>(position.x * 4000.0f)));
            events.push_back(
                evdev(EV_ABS, ABS_MT_POSITION_Y, static_cast<std::int32_t>((1.0f - position.y) * 2750.0f)));
            events.push_back(evdev(EV_ABS, ABS_MT_PRESSURE, 100));
        }
        input_event report = evdev(EV_SYN, SYN_REPORT, 0);
        const auto microseconds = static_cast<std::int64_t>((kGestureStart + frame * kFrameInterval) * 1e6);
        report.input_event_sec = microseconds / 1000000;
        report.input_event_usec = microseconds % 1000000;
        events.push_back(report);
    }
    return frames;
}

// One report's events fed to the decoder per iteration, timed whole.
void feedGesture(benchmark::State& state, linuxbackend::ContactFrames& decoder)
{
    const auto frames = evdevGesture(static_cast<int>(state.range(0)));
    std::size_t frame = 0;
    timeFrames(state, [&] {
        for (const input_event& event : frames[frame]) {
            decoder.feed(event);
        }
        frame = (frame + 1) % frames.size();
    });
}

// The Linux decoder alone, its frames handed to a sink that does nothing.
void contactDecoder(benchmark::State& state)
{
    linuxbackend::ContactFrames decoder(kTouchpad, [](std::span<const platform::MTTouch> contacts, double) {
        benchmark::DoNotOptimize(contacts.data());
    });
    feedGesture(state, decoder);
}
BENCHMARK(contactDecoder)->Arg(10)->ArgName("contacts");

// From the pad's evdev events through the decoder and the frame handler to the recognizer.
void evdevToRecognizer(benchmark::State& state)
{
    FrameHandler handler;
    int frame = 0;
    linuxbackend::ContactFrames decoder(kTouchpad,
                                        [&](std::span<const platform::MTTouch> contacts, double time) {
                                            handler.handle(contacts, time, frame++);
                                        });
    feedGesture(state, decoder);
}
BENCHMARK(evdevToRecognizer)->Arg(10)->ArgName("contacts");

// The event-tap source: the tracker turning a 5-touch gesture event into a touch event.
void nsTouchTracker(benchmark::State& state)
{
    constexpr int kTouches = 5;
    std::vector<platform::Event> events(kFramesPerGesture);
    for (int frame = 0; frame < kFramesPerGesture; ++frame) {
        auto touches = std::make_shared<std::vector<platform::GestureTouch>>();
        for (int finger = 0; finger < kTouches; ++finger) {
            const platform::TouchPhase phase = frame == 0 ? 1 : frame == kFramesPerGesture - 1 ? 8 : 2;
            touches->push_back({0x7f3a00001000 + finger,
                                phase,
                                {0.1 + 0.15 * finger + 0.001 * frame, 0.3 + 0.002 * frame},
                                {400.0, 300.0}});
        }
        platform::Event& event = events[static_cast<std::size_t>(frame)];
        event.type = platform::EventType::gesture;
        event.timestamp = 1000.0 + frame * kFrameInterval;
        event.deviceId = static_cast<std::int64_t>(kDeviceId);
        event.touches = std::move(touches);
    }
    NSTouchTracker tracker;

    int frame = 0;
    timeFrames(state, [&] {
        benchmark::DoNotOptimize(tracker.touchEvent(events[static_cast<std::size_t>(frame)]));
        frame = (frame + 1) % kFramesPerGesture;
    });
}
BENCHMARK(nsTouchTracker);

}  // namespace
}  // namespace veltrane
