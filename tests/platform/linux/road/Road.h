#pragma once

#include "HyperKey.h"
#include "VirtualKeyboardLog.h"
#include "platform/linux/KeyPipeline.h"
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

namespace veltrane::linuxbackend {

// The backend's key road wired as the input loop wires it, without devices: the HID stack with the
// HID managers' serial queue, the taps on a main loop with a thread of its own, the modifier
// state, the poster and the pipeline, whose output is kept as text, and the hyper key of the
// engine. The thread that calls key() stands in for the input thread.
class Road {
public:
    Road();
    ~Road();
    Road(const Road&) = delete;
    Road& operator=(const Road&) = delete;

    // A keyboard the input loop has grabbed; its name is its HID product.
    std::shared_ptr<LinuxKeyboard> plugIn(const std::string& name);
    // A key of the table, named as the table names it, as the decoder reports it.
    void key(const std::shared_ptr<LinuxKeyboard>& keyboard, std::string_view name, bool down);
    void tap(const std::shared_ptr<LinuxKeyboard>& keyboard, std::string_view name);
    // Waits for what the HID managers' queue was given so far, device callbacks included.
    void settle()
    {
        hidQueue.sync([] {});
    }

    threads::SerialQueue hidQueue{"hid"};
    threads::MainLoop mainLoop;
    LinuxHidStack hid;
    LinuxEventTapService taps;
    ModifierState modifiers;
    LinuxEventPoster poster{modifiers};
    VirtualKeyboardLog output;
    KeyPipeline pipeline{hid, taps, modifiers, mainLoop, output.writer()};
    HyperKey hyperKey{hid, hidQueue, taps, mainLoop};

private:
    std::thread mainThread_;
};

}  // namespace veltrane::linuxbackend
