#pragma once

#include "platform/Event.h"
#include "platform/Queue.h"
#include "platform/linux/DeviceWatcher.h"
#include "platform/linux/InputDevice.h"
#include "platform/linux/KeyPipeline.h"
#include "platform/linux/LinuxEventPoster.h"
#include "platform/linux/VirtualDevice.h"
#include "platform/linux/input/KeyDecoder.h"
#include "platform/linux/input/PointerFrame.h"

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <variant>
#include <vector>

namespace veltrane::linuxbackend {

// The input thread: it grabs the keyboards, follows them as they come and go, runs each key down
// the key pipeline and writes the result to the virtual keyboard. Posted events and changes of
// the caps lock lock reach it through a mailbox, so no other thread ever waits for it; it waits
// for the HID managers' queue and the main queue, which must keep running until stop() returns.
// While one key goes down the pipeline, the devices are read again: the kernel keeps only a few
// dozen events per device, and a burst of keys must wait here rather than be lost there.
// Mice are grabbed only while a tap wants pointer events (the hyper flags on clicks, drags, moves
// or scrolls); their reports then go out through a virtual pointer. Otherwise they are left alone.
class InputLoop {
public:
    struct Ports {
        LinuxHidStack& hid;
        LinuxEventTapService& taps;
        ModifierState& modifiers;
        LinuxEventPoster& poster;
        platform::Queue& mainQueue;
    };
    using Log = std::function<void(const std::string& line)>;

    InputLoop(Ports ports, Log log);
    ~InputLoop();
    InputLoop(const InputLoop&) = delete;
    InputLoop& operator=(const InputLoop&) = delete;

    // Makes the virtual keyboard, opens the devices there now and starts the thread. Throws
    // std::system_error when the virtual keyboard cannot be made.
    void start();
    // Releases every key held on the virtual keyboard, lets go of the devices, removes the virtual
    // keyboard and ends the thread. Not on the main queue, which the thread may be waiting for.
    void stop();
    // False when no input device could be opened, for lack of permission.
    bool permitted() const { return permitted_; }

private:
    struct Attached {
        std::unique_ptr<InputDevice> device;
        KeyDecoder decoder;
        // Nothing for a mouse.
        std::shared_ptr<LinuxKeyboard> keyboard;
        bool points = false;
        PointerFrame report;
    };
    struct CapsLockChanged {};
    struct WantedChanged {};
    using Mail = std::variant<platform::Event, CapsLockChanged, WantedChanged>;
    struct KeyWork {
        std::shared_ptr<Attached> attached;
        KeyDecoder::Change change;
    };
    struct PointerWork {
        std::vector<input_event> report;
    };
    struct Gone {
        std::shared_ptr<Attached> attached;
    };
    using Work = std::variant<KeyWork, PointerWork, Gone, platform::Event, CapsLockChanged, WantedChanged>;
    // Work read from the devices in one round, with the kernel's time of each event.
    using Timed = std::vector<std::pair<std::int64_t, Work>>;

    void send(Mail mail);
    void run();
    void pollOnce();
    // Takes in, without waiting, what the devices and the mailbox have.
    void gather();
    void readMail();
    void readWatcher();
    void readLight();
    void readDevice(const std::shared_ptr<Attached>& attached, Timed& into);
    void take(const std::shared_ptr<Attached>& attached, const input_event& event, std::int64_t time,
              Timed& into);
    void process(const Work& work);
    // False when the device may not be opened for lack of permission.
    bool attach(const std::string& node);
    void detach(const std::shared_ptr<Attached>& attached, Timed& into, std::int64_t time);
    void forget(const std::shared_ptr<Attached>& attached);
    // Grabs the mice while a tap wants pointer events, and lets them go otherwise.
    void followWantedMask();
    bool pointerWanted() const;
    // Buttons the device holds go up on the virtual pointer.
    void releaseButtons(const InputDevice& device);
    void showCapsLock();
    void write(std::span<const input_event> events);

    Ports ports_;
    Log log_;
    std::unique_ptr<VirtualDevice> virtualKeyboard_;
    // Made when the first pointing device is grabbed.
    std::unique_ptr<VirtualDevice> virtualPointer_;
    std::unique_ptr<DeviceWatcher> watcher_;
    std::unique_ptr<KeyPipeline> pipeline_;
    std::vector<std::shared_ptr<Attached>> attached_;
    std::deque<Work> work_;
    std::optional<bool> shownCapsLock_;
    std::atomic<bool> permitted_ = true;
    std::atomic<bool> stopping_ = false;
    bool writeFailed_ = false;
    int wakeFd_ = -1;
    std::mutex mailMutex_;
    std::vector<Mail> mail_;
    std::thread thread_;
};

}  // namespace veltrane::linuxbackend
