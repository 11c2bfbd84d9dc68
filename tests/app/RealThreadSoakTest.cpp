#include "SoakDriver.h"
#include "SoakPlan.h"
#include "app/CompositionRoot.h"
#include "keyboard/KeyRemap.h"
#include "platform/sim/Desktop.h"
#include "platform/threads/MainLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <stop_token>
#include <thread>

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Ends the run at once, naming the queue, when a queue has not run a heartbeat for a second: a
// queue that waits forever would otherwise hang the test without a word.
class Watchdog {
public:
    using Queues = std::function<std::vector<std::shared_ptr<sim::SimQueue>>()>;

    explicit Watchdog(Queues queues)
        : queues_(std::move(queues)), thread_([this](const std::stop_token& stop) { watch(stop); })
    {
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    struct Beat {
        std::atomic<bool> answered{true};
        Clock::time_point sent;
    };

    void watch(const std::stop_token& stop)
    {
        std::map<std::weak_ptr<sim::SimQueue>, std::shared_ptr<Beat>, std::owner_less<>> beats;
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        while (!wake.wait_for(lock, stop, 100ms, [&stop] { return stop.stop_requested(); })) {
            for (const auto& queue : queues_()) {
                auto& beat = beats[queue];
                if (!beat) {
                    beat = std::make_shared<Beat>();
                }
                if (beat->answered.exchange(false)) {
                    beat->sent = Clock::now();
                    queue->async([beat] { beat->answered.store(true); });
                } else if (Clock::now() - beat->sent > 1s) {
                    std::fprintf(stderr, "queue \"%s\" has stalled for more than a second\n",
                                 queue->label().c_str());
                    std::abort();
                }
            }
        }
    }

    Queues queues_;
    // Last, so that it stops and joins before the queues go.
    std::jthread thread_;
};

class RealThreadSoakTest : public ::testing::Test {
protected:
    sim::SimProcess& launch()
    {
        soak.prepare();
        desktop.setApplicationFactory([this](const platform::Platform& platform) {
            auto made = makeApplication(platform);
            application = made.get();
            return made;
        });
        return desktop.launch();
    }

    // Returns once the events that entered have been delivered and every queue of the process has
    // run what it had, twice over (what one queue runs may queue work on another).
    void settle()
    {
        for (int round = 0; round < 2; ++round) {
            std::this_thread::sleep_for(10ms);
            desktop.windowServer().queue().sync([] {});
            for (const auto& queue : process.queues()) {
                queue->sync([] {});
            }
        }
    }
    std::vector<std::string> delivered(std::string_view prefix)
    {
        std::vector<std::string> found;
        for (const auto& line : desktop.transcript().lines()) {
            if (line.kind == "deliver" && line.text.starts_with(prefix)) {
                found.push_back(line.text);
            }
        }
        return found;
    }
    std::string lastDelivered(std::string_view prefix)
    {
        const auto found = delivered(prefix);
        return found.empty() ? "" : found.back();
    }
    void tap(const char* name)
    {
        desktop.hid().key("final", std::string_view(name), true);
        settle();
        desktop.hid().key("final", std::string_view(name), false);
        settle();
    }

    sim::Desktop desktop{sim::Execution::realThreads};
    AppDelegate* application = nullptr;
    // Waits pass at once: real time runs on between the steps anyway.
    testing::SoakDriver soak{desktop, [this]() -> SharedInstances& { return application->sharedInstances(); },
                             [](double) {}};
    sim::SimProcess& process = launch();
};

// A few thousand random steps: key presses, hyper key holds, clicks, keyboards coming and going,
// sleep and wake, other applications in front, menu commands and settings changes. No queue may
// stall, no event may be lost, and afterwards the hyper key works and nothing is left held.
TEST_F(RealThreadSoakTest, TheApplicationNeitherStallsNorLosesEventsNorLeavesKeysHeld)
{
    constexpr int kSteps = 3000;
    const unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    threads::MainLoop& loop = *process.mainLoop();
    auto watchdog = std::make_unique<Watchdog>([this] { return process.queues(); });
    std::string hyperA;
    std::string plainA;
    int clicks = 0;

    std::thread driver([&] {
        settle();
        std::mt19937 pauses(seed);
        for (const auto& step : testing::SoakPlan(seed).take(kSteps)) {
            soak.play(step);
            std::this_thread::sleep_for(std::chrono::microseconds(pauses() % 1500));
        }
        soak.releaseAll();
        clicks = soak.clicks();
        settle();
        // In front an application the engine serves, with the hyper key on caps lock and the lock off,
        // the listener restarts (once past its one-second guard) and every modifier key goes up once.
        desktop.windowServer().setCapsLockState(false);
        desktop.activate({"org.example.Final", "Final"});
        desktop.hid().connect("final", {});
        process.mainQueue().sync([&] {
            Defaults& defaults = application->sharedInstances().defaults();
            defaults.keyRemap().setEnabled(true);
            defaults.physicalKeycode().setValue(0x39);
            KeyRemap::applyKeyMapping(application->sharedInstances().hidRemap(), defaults);
            application->sharedInstances().keyboardHID().refresh(true);
        });
        std::this_thread::sleep_for(1200ms);
        settle();
        for (const char* name : {"capslock", "lopt", "lcmd", "a"}) {
            tap(name);
        }
        plainA = lastDelivered("keyDown key=0 ");
        desktop.hid().key("final", {7, 0x39}, true);
        settle();
        tap("a");
        desktop.hid().key("final", {7, 0x39}, false);
        settle();
        hyperA = lastDelivered("keyDown key=0 ");
        settle();
        watchdog.reset();
        loop.quit();
    });
    loop.run();
    driver.join();

    EXPECT_EQ(delivered("leftMouseDown").size(), static_cast<std::size_t>(clicks));
    EXPECT_EQ(delivered("leftMouseUp").size(), static_cast<std::size_t>(clicks));
    EXPECT_EQ(plainA, "keyDown key=0 flags=0x0");
    EXPECT_EQ(hyperA, "keyDown key=0 flags=0x1e0000");
}

}  // namespace
}  // namespace veltrane
