#pragma once

#include "core/Defaults.h"
#include "keyboard/KeyboardDevice.h"
#include "platform/Platform.h"

#include <memory>
#include <mutex>
#include <set>

namespace veltrane {

// Follows keyboards as they come and go and announces each change with "keyboardAddedOrRemoved"
// on the main queue, so that the key mapping reaches keyboards connected after it was written.
// Once listening, it listens for the rest of the process.
class KeyboardListener {
public:
    KeyboardListener(const platform::Platform& platform, Defaults& defaults);

    void listen();

private:
    void keyboardAdded(const platform::HidDevice& device);
    void keyboardRemoved(const platform::HidDevice& device);
    void announce();

    const platform::Platform& platform_;
    Defaults& defaults_;
    // Before the manager, which goes first: it sends device changes to the queue until it goes.
    std::shared_ptr<platform::Queue> queue_;
    std::shared_ptr<platform::HidManager> ioHidManager_;
    // Added to on the listener's queue, removed from on the main queue.
    std::mutex devicesMutex_;
    std::set<KeyboardDevice> keyboardDevices_;
    bool listening_ = false;
};

}  // namespace veltrane
