#include "app/CompositionRoot.h"
#include "core/Notifications.h"
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
#include <set>
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

    explicit Watchdog(Queues queues) : queues_(std::move(queues)), thread_([this] { watch(); }) {}
    ~Watchdog()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    struct Beat {
        std::atomic<bool> answered{true};
        Clock::time_point sent;
    };

    void watch()
    {
        std::map<std::weak_ptr<sim::SimQueue>, std::shared_ptr<Beat>, std::owner_less<>> beats;
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, 100ms, [this] { return stopping_; })) {
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
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

// Random steps of what a user and the desktop do, from the test's thread, while the application
// runs on its own threads.
class Soak {
public:
    Soak(sim::Desktop& desktop, sim::SimProcess& process, AppDelegate& application, unsigned seed)
        : desktop_(desktop), process_(process), shared_(application.sharedInstances()), random_(seed)
    {
    }

    // Mostly typing; now and then the desktop or the user changes something under the engine.
    void step()
    {
        const std::size_t roll = pick(1000);
        if (roll < 380) {
            key(pickOf(keyboards_), pickOf(kKeys));
        } else if (roll < 680) {
            hyperChord();
        } else if (roll < 780) {
            click();
        } else if (roll < 860) {
            desktop_.activate({pickOf(kApplications), "Application"});
        } else if (roll < 910) {
            process_.chooseMenuItem(pickOf(kMenuActions));
        } else if (roll < 960) {
            changeSetting();
        } else if (roll < 995) {
            plugOrUnplug();
        } else {
            desktop_.notifyWorkspace(pick(2) == 0 ? platform::WorkspaceNotification::willSleep
                                                  : platform::WorkspaceNotification::didWake);
        }
    }

    // Lets go of every key still held, as a user would.
    void releaseAll()
    {
        for (auto& [keyboard, held] : held_) {
            for (const auto& name : held) {
                send(keyboard, name, false);
            }
            held.clear();
        }
    }
    int clicks() const { return clicks_; }

private:
    static constexpr std::array<const char*, 9> kKeys = {"a",      "b",      "capslock", "lcmd", "ropt",
                                                         "lshift", "escape", "f13",      "rcmd"};
    // The engine stands aside for Terminal, and always for the login window.
    static constexpr std::array<const char*, 5> kApplications = {"com.apple.Mail", "com.apple.Safari",
                                                                 "com.apple.Notes", "com.apple.Terminal",
                                                                 "com.apple.loginwindow"};
    static constexpr std::array<platform::MenuAction, 5> kMenuActions = {
        platform::MenuAction::synthesizeCapsLockRemap, platform::MenuAction::toggleLogDebugMessages,
        platform::MenuAction::toggleRelaunchDelay, platform::MenuAction::ignoreFrontMostApp,
        platform::MenuAction::launchLoggerOnStart};

    std::size_t pick(std::size_t count)
    {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }
    template <class List> typename List::value_type pickOf(const List& list)
    {
        return list[pick(list.size())];
    }

    void send(const std::string& keyboard, const std::string& name, bool down)
    {
        desktop_.hid().key(keyboard, std::string_view(name), down);
    }
    // Presses the key when it is up, releases it when it is down.
    void key(const std::string& keyboard, const std::string& name)
    {
        auto& held = held_[keyboard];
        const bool down = !held.contains(name);
        send(keyboard, name, down);
        if (down) {
            held.insert(name);
        } else {
            held.erase(name);
        }
    }
    void hyperChord()
    {
        const std::string keyboard = pickOf(keyboards_);
        if (held_[keyboard].contains("capslock")) {
            return key(keyboard, "capslock");
        }
        // A person's keys are milliseconds apart; the listener's queue sees caps lock first.
        send(keyboard, "capslock", true);
        std::this_thread::sleep_for(2ms);
        for (std::size_t i = pick(3) + 1; i > 0; --i) {
            send(keyboard, "a", true);
            send(keyboard, "a", false);
        }
        std::this_thread::sleep_for(1ms);
        send(keyboard, "capslock", false);
    }
    void click()
    {
        desktop_.windowServer().eventFromDevice({platform::EventType::leftMouseDown, 0, 0, 0, {10, 20}});
        ++clicks_;
    }
    void plugOrUnplug()
    {
        if (keyboards_.size() > 1 && pick(2) == 0) {
            const std::string keyboard = keyboards_.back();
            for (const auto& name : held_[keyboard]) {
                send(keyboard, name, false);
            }
            held_.erase(keyboard);
            keyboards_.pop_back();
            desktop_.hid().unplug(keyboard);
            return;
        }
        const std::string keyboard = "kb" + std::to_string(nextKeyboard_++);
        desktop_.hid().connect(keyboard,
                               {{std::string(platform::kHidVendorId), std::int64_t{0x46D}},
                                {std::string(platform::kHidProductId), std::int64_t{0xC31C}},
                                {std::string(platform::kHidLocationId), std::uint64_t{nextKeyboard_}}});
        keyboards_.push_back(keyboard);
    }
    // What the preferences window does when the user changes a setting: the write, then the
    // follow-ups, on the main queue.
    void changeSetting()
    {
        const std::size_t which = pick(5);
        const bool on = pick(4) != 0;
        process_.mainQueue().async([this, which, on, physical = pickOf(std::array{0x39, 0x39, 0x68, 0xE7})] {
            Defaults& defaults = shared_.defaults();
            auto flip = [](OptionalBoolDefault& setting) { setting.setEnabled(!setting.isOn()); };
            switch (which) {
            case 0:
                defaults.keyRemap().setEnabled(on);
                break;
            case 1:
                defaults.executeQuickHyperKey().setEnabled(on);
                break;
            case 2:
                defaults.physicalKeycode().setValue(physical);
                break;
            case 3:
                flip(defaults.capsLockRemapped());
                break;
            default:
                flip(defaults.applyToScroll());
                process_.platform().notificationCenter.post(Notifications::kUpdateEventMask);
                return;
            }
            shared_.keyboardHID().refresh(false);
            KeyRemap::applyKeyMapping(shared_.hidRemap(), defaults);
        });
    }

    sim::Desktop& desktop_;
    sim::SimProcess& process_;
    SharedInstances& shared_;
    std::mt19937 random_;
    std::vector<std::string> keyboards_{"kb"};
    std::map<std::string, std::set<std::string>> held_;
    std::uint64_t nextKeyboard_ = 1;
    int clicks_ = 0;
};

class RealThreadSoakTest : public ::testing::Test {
protected:
    // The application with the hyper key, the quick press, the swap for other makers' keyboards and
    // the icon on, and a keyboard connected.
    sim::SimProcess& launch()
    {
        auto& defaults = desktop.defaults();
        for (const char* on : {"keyRemap", "executeQuickHyperKey", "winRemap", "keyMenuBarIcon",
                               "restartKeyListenOnWake", "logDebug"}) {
            defaults[on] = std::int64_t{1};
        }
        // A relaunch would end the process the test runs.
        defaults["autoRestartOnSessionActive"] = std::int64_t{2};
        defaults["quickHyperKeycode"] = std::int64_t{53};
        defaults["disabledApps"] = std::string("[\"com.apple.Terminal\"]");
        desktop.hid().connect("kb", {{std::string(platform::kHidVendorId), std::int64_t{0x5AC}},
                                     {std::string(platform::kHidProductId), std::int64_t{0x27E}},
                                     {std::string(platform::kHidLocationId), std::uint64_t{0x14200000}}});
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
        desktop.hid().key("kb", std::string_view(name), true);
        settle();
        desktop.hid().key("kb", std::string_view(name), false);
        settle();
    }

    sim::Desktop desktop{sim::Execution::realThreads};
    AppDelegate* application = nullptr;
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
        Soak soak(desktop, process, *application, seed);
        std::mt19937 pauses(seed);
        for (int step = 0; step < kSteps; ++step) {
            soak.step();
            std::this_thread::sleep_for(std::chrono::microseconds(pauses() % 1500));
        }
        soak.releaseAll();
        clicks = soak.clicks();
        settle();
        // In front an application the engine serves, with the hyper key on caps lock and the lock off,
        // the listener restarts (once past its one-second guard) and every modifier key goes up once.
        desktop.windowServer().setCapsLockState(false);
        desktop.activate({"org.example.Final", "Final"});
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
        desktop.hid().key("kb", {7, 0x39}, true);
        settle();
        tap("a");
        desktop.hid().key("kb", {7, 0x39}, false);
        settle();
        hyperA = lastDelivered("keyDown key=0 ");
        settle();
        watchdog.reset();
        loop.quit();
    });
    loop.run();
    driver.join();

    EXPECT_EQ(delivered("leftMouseDown").size(), static_cast<std::size_t>(clicks));
    EXPECT_EQ(plainA, "keyDown key=0 flags=0x0");
    EXPECT_EQ(hyperA, "keyDown key=0 flags=0x1e0000");
}

}  // namespace
}  // namespace veltrane
