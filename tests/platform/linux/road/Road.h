#pragma once

#include "HyperKey.h"
#include "platform/KeyTable.h"
#include "platform/linux/hid/LinuxHidStack.h"
#include "platform/linux/road/KeyPipeline.h"
#include "platform/linux/road/KeyRoad.h"
#include "platform/linux/road/LinuxEventPoster.h"
#include "platform/linux/road/LinuxEventTapService.h"
#include "platform/linux/road/ModifierState.h"
#include "platform/threads/MainLoop.h"
#include "platform/threads/SerialQueue.h"

#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace veltrane::linuxbackend {

// The backend's key road wired as the input loop wires it, without devices: the HID stack with the
// HID managers' serial queue, a main loop with a thread of its own, the modifier state, the poster
// and the road with its pipeline, whose output is kept (as text for the virtual keyboard), and the
// hyper key of the engine.
// The thread that calls key() stands in for the input thread.
class Road {
public:
    Road() : mainThread_([this] { mainLoop.run(); }) {}
    ~Road()
    {
        mainLoop.quit();
        mainThread_.join();
        // No device callback may run once the hyper key that it records into is gone.
        hidQueue.sync([] {});
    }
    Road(const Road&) = delete;
    Road& operator=(const Road&) = delete;

    // A keyboard the input loop has grabbed; its name is its HID product.
    std::shared_ptr<LinuxKeyboard> plugIn(const std::string& name)
    {
        auto keyboard = std::make_shared<LinuxKeyboard>(LinuxKeyboard::Identity{name});
        hid.connect(keyboard);
        return keyboard;
    }
    // A key as the decoder reports it, handed to the road; unless told not to, waits until the main
    // loop has run it down the pipeline.
    void change(const std::shared_ptr<LinuxKeyboard>& keyboard, KeyDecoder::Change change, bool wait = true)
    {
        keyRoad->add(KeyRoad::Key{keyboard, change});
        if (wait) {
            mainLoop.sync([] {});
        }
    }
    // A key of the table, named as the table names it.
    void key(const std::shared_ptr<LinuxKeyboard>& keyboard, std::string_view name, bool down,
             bool wait = true)
    {
        const platform::KeyTable::Key* known = platform::KeyTable::byName(name);
        if (known == nullptr) {
            throw std::invalid_argument("no key is named " + std::string(name));
        }
        using Kind = KeyDecoder::Change::Kind;
        change(keyboard, {down ? Kind::down : Kind::up, known->linuxCode, known->usagePage, known->usage},
               wait);
    }
    void tap(const std::shared_ptr<LinuxKeyboard>& keyboard, std::string_view name)
    {
        key(keyboard, name, true);
        key(keyboard, name, false);
    }
    // As the input thread reports a keyboard gone.
    void unplug(const std::shared_ptr<LinuxKeyboard>& keyboard) { keyRoad->add(KeyRoad::Gone{keyboard, {}}); }
    // Waits for what the main loop and then the HID managers' queue were given so far, device
    // callbacks included.
    void settle()
    {
        mainLoop.sync([] {});
        hidQueue.sync([] {});
    }
    // The keys written to the virtual keyboard since the last call, once settled, as the kernel
    // tests read them from the desktop's side: "+lctrl", "-a", a key the table does not know by its
    // number. Every key change must come as a frame of its own, or the desktop could see two
    // changes at once in another order; an event out of that shape is kept as "?type:code".
    std::vector<std::string> written()
    {
        settle();
        return std::exchange(output, {});
    }

    threads::SerialQueue hidQueue{"hid"};
    threads::MainLoop mainLoop;
    LinuxHidStack hid;
    LinuxEventTapService taps;
    ModifierState modifiers;
    LinuxEventPoster poster{modifiers};
    // What the road wrote for the virtual keyboard, on the main loop; written() takes it.
    std::vector<std::string> output;
    // The reports the road wrote for the virtual pointer, on the main loop.
    std::vector<input_event> pointerOutput;
    std::shared_ptr<KeyRoad> keyRoad{KeyRoad::create(
        std::make_unique<KeyPipeline>(
            hid, taps, modifiers, [this](auto events) { write(events); },
            [this](auto events) { pointerOutput.insert(pointerOutput.end(), events.begin(), events.end()); }),
        hid, mainLoop)};
    HyperKey hyperKey{hid, hidQueue, taps, mainLoop};

private:
    void write(std::span<const input_event> events)
    {
        for (std::size_t i = 0; i < events.size(); i += 2) {
            const input_event& event = events[i];
            if (i + 1 == events.size() || event.type != EV_KEY || events[i + 1].type != EV_SYN ||
                events[i + 1].code != SYN_REPORT) {
                output.push_back("?" + std::to_string(event.type) + ":" + std::to_string(event.code));
                continue;
            }
            const auto* known = platform::KeyTable::byLinuxCode(event.code);
            output.push_back((event.value != 0 ? "+" : "-") +
                             (known != nullptr ? std::string(known->name) : std::to_string(event.code)));
        }
    }

    std::thread mainThread_;
};

}  // namespace veltrane::linuxbackend
