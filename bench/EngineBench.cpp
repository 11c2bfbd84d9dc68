// The event processor runs for every event that passes the tap, on the main queue: it must cost
// little more than reading the hyper state, and allocate nothing.

#include "AllocationCounter.h"
#include "app/CompositionRoot.h"
#include "core/HyperCGEventProcessor.h"
#include "platform/sim/Desktop.h"
#include "platform/sim/SimUserDefaults.h"

#include <benchmark/benchmark.h>

#include <atomic>

namespace veltrane {
namespace {

struct Engine {
    platform::DefaultsDomain domain;
    sim::SimUserDefaults store{domain};
    Defaults defaults{store};
    HyperFlags hyperFlags{defaults};
    HyperCGEventProcessor processor{hyperFlags, defaults};
};

// What the processor cannot do without: three relaxed loads of the state and the mask arithmetic.
void baseline(benchmark::State& state)
{
    std::atomic<bool> keyDown{state.range(0) != 0};
    std::atomic<bool> gestureDown{false};
    std::atomic<platform::EventFlags> flags{0x1E0000};
    platform::Event event{platform::EventType::keyDown, 0x10000, 0, 0, {}};
    for (auto _ : AllocationCounter(state)) {
        if (keyDown.load(std::memory_order_relaxed) || gestureDown.load(std::memory_order_relaxed)) {
            event.flags =
                (event.flags & ~platform::EventFlags{0x20810000}) | flags.load(std::memory_order_relaxed);
        }
        benchmark::DoNotOptimize(event);
    }
}
BENCHMARK(baseline)->Arg(0)->Arg(1)->ArgName("held");

void process(benchmark::State& state)
{
    Engine engine;
    engine.hyperFlags.setKeyDown(state.range(0) != 0);
    platform::Event event{platform::EventType::keyDown, 0x10000, 0, 0, {}};
    for (auto _ : AllocationCounter(state)) {
        engine.processor.process(event);
        benchmark::DoNotOptimize(event);
    }
}
BENCHMARK(process)->Arg(0)->Arg(1)->ArgName("held");

// One key press and release on the simulated desktop with the hyper key held: raw values to the
// listener, the keyboard's mapping, the event tap with the processor, delivery.
void simulatedKeyRoad(benchmark::State& state)
{
    sim::Desktop desktop;
    desktop.defaults()["keyRemap"] = std::int64_t{1};
    desktop.hid().connect("kb", {});
    desktop.setApplicationFactory([](const platform::Platform& platform) {
        return makeApplication(platform, {.loggingSetup = [](bool, logging::Level) {}});
    });
    desktop.launch();
    desktop.scheduler().advance(1.0);
    desktop.hid().key("kb", {7, 0x39}, true);
    for (auto _ : state) {
        desktop.hid().key("kb", {7, 0x04}, true);
        desktop.hid().key("kb", {7, 0x04}, false);
        desktop.scheduler().runUntilIdle();
        desktop.transcript().clear();
    }
}
BENCHMARK(simulatedKeyRoad);

}  // namespace
}  // namespace veltrane
