// Every key of every keyboard takes the Linux key path: the kernel's events decoded on the input
// thread, then on the main queue the raw key to the HID managers, the keyboard's mapping, the
// event taps and the keys held on the virtual keyboard. With the devices replaced by memory and
// the queues run inline, what is measured is the path's own work: under a microsecond and no
// allocation per key change.

#include "AllocationCounter.h"
#include "platform/linux/road/KeyPipeline.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

namespace veltrane {
namespace {

using linuxbackend::KeyDecoder;
using linuxbackend::KeyPipeline;
using linuxbackend::LinuxKeyboard;
using platform::Event;
using platform::EventFlags;
using platform::EventType;

constexpr std::uint32_t kGenericDesktopPage = 1;
constexpr std::uint32_t kKeyboardUsage = 6;
constexpr std::int32_t kUsageOfA = 0x70004;
constexpr EventFlags kHyperFlags =
    platform::kFlagControl | platform::kFlagOption | platform::kFlagCommand | platform::kFlagShift;
constexpr platform::EventMask kKeyEvents = 1u << static_cast<unsigned>(EventType::keyDown) |
                                           1u << static_cast<unsigned>(EventType::keyUp) |
                                           1u << static_cast<unsigned>(EventType::flagsChanged);
// Enough for the caches of the path (the key table's indexes) to be built before measuring.
constexpr int kWarmUpTaps = 100;

// Runs every task at once on the calling thread, as a queue does for a sync from itself: thread
// hand-offs are the queues' cost, measured by their own benchmark, not the key path's.
class InlineQueue final : public platform::Queue {
public:
    void async(Task task) override { task(); }
    void asyncAfter(double, Task task) override { task(); }
    void sync(const Task& task) override { task(); }
    const std::string& label() const override { return label_; }
    bool isCurrent() const override { return true; }

private:
    std::string label_ = "inline";
};

// The frame a USB keyboard sends for one key change: its HID usage, the key, the end of the report.
std::array<input_event, 3> frame(bool down)
{
    std::array<input_event, 3> events{};
    events[0].type = EV_MSC;
    events[0].code = MSC_SCAN;
    events[0].value = kUsageOfA;
    events[1].type = EV_KEY;
    events[1].code = KEY_A;
    events[1].value = down ? 1 : 0;
    events[2].type = EV_SYN;
    events[2].code = SYN_REPORT;
    return events;
}

// One USB keyboard on the real path. The hyper key listener's place is a HID manager with a
// callback that only counts; the engine's is a tap that adds the given flags to key presses, so
// that with the hyper flags every press takes the four modifiers down with it and every release
// takes them up again: the most a single key change writes.
class KeyPath {
public:
    explicit KeyPath(EventFlags addedToPresses) : addedToPresses_(addedToPresses)
    {
        hid_.connect(keyboard_);
        manager_ = hid_.createHidManager();
        manager_->setDeviceMatching({{kGenericDesktopPage, kKeyboardUsage}});
        manager_->registerInputValueCallback(
            [this](platform::HidResult, const platform::HidValue& value) { rawKeys_ += value.integerValue; });
        manager_->open();
        manager_->schedule(queue_);
        tap_ = taps_.createTap(kKeyEvents, [this](EventType type, Event& event) {
            if (type == EventType::keyDown) {
                event.flags |= addedToPresses_;
            }
        });
        tap_->enable(true);
    }

    void feed(const std::array<input_event, 3>& events)
    {
        for (const auto& event : events) {
            using Kind = KeyDecoder::Change::Kind;
            const auto change = decoder_.feed(event);
            if (change.kind == Kind::down || change.kind == Kind::up) {
                pipeline_.key(keyboard_, change);
            }
        }
    }

    std::size_t written() const { return written_; }
    std::int64_t rawKeys() const { return rawKeys_; }

private:
    void write(std::span<const input_event> events)
    {
        std::copy(events.begin(), events.end(), out_.begin());
        written_ += events.size();
    }

    const EventFlags addedToPresses_;
    InlineQueue queue_;
    linuxbackend::LinuxHidStack hid_;
    linuxbackend::LinuxEventTapService taps_;
    linuxbackend::ModifierState modifiers_;
    std::shared_ptr<LinuxKeyboard> keyboard_ =
        std::make_shared<LinuxKeyboard>(LinuxKeyboard::Identity{"Bench Keyboard"});
    std::shared_ptr<platform::HidManager> manager_;
    std::shared_ptr<platform::EventTap> tap_;
    KeyDecoder decoder_{BUS_USB};
    KeyPipeline pipeline_{hid_, taps_, modifiers_,
                          [this](std::span<const input_event> events) { write(events); }};
    std::array<input_event, linuxbackend::OutputBatch::kCapacity> out_{};
    std::size_t written_ = 0;
    std::int64_t rawKeys_ = 0;
};

// One iteration is one key change; presses and releases alternate, so the virtual keyboard's
// state stays that of a real keyboard.
void keyChange(benchmark::State& state, EventFlags addedToPresses)
{
    KeyPath path(addedToPresses);
    const std::array<std::array<input_event, 3>, 2> frames{frame(true), frame(false)};
    for (int tap = 0; tap < kWarmUpTaps; ++tap) {
        path.feed(frames[0]);
        path.feed(frames[1]);
    }
    const std::size_t writtenBefore = path.written();
    std::size_t change = 0;
    for (auto _ : AllocationCounter(state)) {
        path.feed(frames[change++ & 1]);
    }
    const auto written = static_cast<double>(path.written() - writtenBefore);
    state.counters["events_out/iter"] = benchmark::Counter(written, benchmark::Counter::kAvgIterations);
    benchmark::DoNotOptimize(path.rawKeys());
}

void plainKey(benchmark::State& state)
{
    keyChange(state, 0);
}
BENCHMARK(plainKey);

void hyperChord(benchmark::State& state)
{
    keyChange(state, kHyperFlags);
}
BENCHMARK(hyperChord);

}  // namespace
}  // namespace veltrane
