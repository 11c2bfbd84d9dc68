#pragma once

#include "HyperKey.h"
#include "VirtualKeyboardLog.h"
#include "platform/linux/KeyPipeline.h"
#include "platform/linux/KeyRoad.h"
#include "platform/linux/LinuxEventPoster.h"
#include "platform/linux/LinuxEventTapService.h"
#include "platform/linux/LinuxHidStack.h"
#include "platform/linux/ModifierState.h"
#include "platform/threads/MainLoop.h"
#include "platform/threads/SerialQueue.h"

#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace veltrane::linuxbackend {

// The backend's key road wired as the input loop wires it, without devices: the HID stack with the
// HID managers' serial queue, a main loop with a thread of its own, the modifier state, the poster
// and the road with its pipeline, whose output is kept as text, and the hyper key of the engine.
// The thread that calls key() stands in for the input thread.
class Road {
public:
    Road();
    ~Road();
    Road(const Road&) = delete;
    Road& operator=(const Road&) = delete;

    // A keyboard the input loop has grabbed; its name is its HID product.
    std::shared_ptr<LinuxKeyboard> plugIn(const std::string& name);
    // A key as the decoder reports it, handed to the road; unless told not to, waits until the main
    // loop has run it down the pipeline.
    void change(const std::shared_ptr<LinuxKeyboard>& keyboard, KeyDecoder::Change change, bool wait = true);
    // A key of the table, named as the table names it.
    void key(const std::shared_ptr<LinuxKeyboard>& keyboard, std::string_view name, bool down,
             bool wait = true);
    void tap(const std::shared_ptr<LinuxKeyboard>& keyboard, std::string_view name);
    // As the input thread reports a keyboard gone.
    void unplug(const std::shared_ptr<LinuxKeyboard>& keyboard);
    // Waits for what the main loop and then the HID managers' queue were given so far, device
    // callbacks included.
    void settle();
    // The keys written to the virtual keyboard since the last call, once settled.
    std::vector<std::string> written();

    threads::SerialQueue hidQueue{"hid"};
    threads::MainLoop mainLoop;
    LinuxHidStack hid;
    LinuxEventTapService taps;
    ModifierState modifiers;
    LinuxEventPoster poster{modifiers};
    VirtualKeyboardLog output;
    std::shared_ptr<KeyRoad> keyRoad{
        KeyRoad::create(std::make_unique<KeyPipeline>(hid, taps, modifiers, output.writer()), hid, mainLoop)};
    HyperKey hyperKey{hid, hidQueue, taps, mainLoop};

private:
    std::thread mainThread_;
};

}  // namespace veltrane::linuxbackend
