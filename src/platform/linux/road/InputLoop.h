#pragma once

#include "platform/Event.h"
#include "platform/Queue.h"
#include "platform/linux/devices/DeviceWatcher.h"
#include "platform/linux/devices/InputDevice.h"
#include "platform/linux/reactor/Reactor.h"
#include "platform/linux/road/DeviceRoute.h"
#include "platform/linux/road/KeyRoad.h"
#include "platform/linux/road/LinuxEventPoster.h"
#include "platform/linux/touch/LinuxMultitouch.h"
#include "platform/linux/virtual/VirtualOutput.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// The input devices as sources of the reactor, which runs the main queue: it grabs the keyboards,
// follows them as they come and go, reads what they type and carries it, in the order it was
// typed, down the key road and out to the virtual keyboard, on the thread that read it. While one
// round of keys goes down the pipeline, the kernel keeps what comes next, a few dozen events per
// device. It also keeps the keyboards' caps lock lights in step with the lock. Everything but
// permissionProblem() belongs to the main queue.
// Touchpads are read alongside the desktop, never grabbed: each report takes its turn on the key
// road among the keys, in the order they came, and its contact frame goes to the multitouch
// framework's callback there.
// Mice are grabbed only while a tap wants pointer events (the hyper flags on clicks, drags, moves
// or scrolls); their reports then go out through a virtual pointer. Otherwise they are left alone.
class InputLoop {
public:
    struct Ports {
        LinuxHidStack& hid;
        LinuxEventTapService& taps;
        ModifierState& modifiers;
        LinuxEventPoster& poster;
        LinuxMultitouch& multitouch;
        platform::Queue& mainQueue;
        // Runs the main queue.
        Reactor& reactor;
    };
    using Log = std::function<void(const std::string& line)>;

    InputLoop(Ports ports, Log log);
    ~InputLoop();
    InputLoop(const InputLoop&) = delete;
    InputLoop& operator=(const InputLoop&) = delete;

    // Why the devices are closed to the program, without touching them; nothing when they are open.
    static std::optional<std::string> permissionProblem();
    // Makes the virtual keyboard, opens the devices there now and starts watching them. Throws
    // std::system_error when the virtual keyboard cannot be made.
    void start();
    // Stops watching, releases every key held on the virtual keyboard, lets go of the devices and
    // removes the virtual keyboard.
    void stop();
    // False when no input device could be opened, for lack of permission.
    bool permitted() const { return permitted_; }

private:
    static bool permittedWith(bool allowed, bool refused);
    struct Attached {
        std::unique_ptr<InputDevice> device;
        DeviceRoute route;
        Reactor::Source readable;
    };
    // Work read from the devices in one round, with the kernel's time of each event.
    using Timed = std::vector<std::pair<std::int64_t, KeyRoad::Work>>;

    Reactor::Source watch(const std::string& what, int fd, const std::function<void()>& read);
    // Hands the key road, in the order it was typed, what the devices have, and runs it.
    void gather();
    void readWatcher();
    void readLight();
    // False when the device is gone. begun: when the round began.
    bool readDevice(const std::shared_ptr<Attached>& attached, std::int64_t begun);
    void take(const std::shared_ptr<Attached>& attached, const input_event& event, std::int64_t time);
    // False when the device may not be opened for lack of permission.
    bool attach(const std::string& node);
    void attachTouchpad(std::unique_ptr<InputDevice> device);
    // Joins the devices read, is logged and read from now on.
    const std::shared_ptr<Attached>& adopt(std::unique_ptr<InputDevice> device,
                                           std::shared_ptr<LinuxKeyboard> keyboard,
                                           std::shared_ptr<LinuxTouchpad> touchpad, bool points);
    // The framework and the HID managers hear that the pad is gone.
    void forgetTouchpad(const std::shared_ptr<LinuxTouchpad>& touchpad);
    // What the log calls the device.
    static std::string kindOf(const Attached& attached);
    void detach(const std::shared_ptr<Attached>& attached, std::int64_t time);
    // From any thread: the work runs on the main queue while the loop is started.
    void whileStarted(std::function<void()> work);
    // Grabs the mice while a tap wants pointer events, and lets them go otherwise.
    void followWantedMask();
    bool pointerWanted() const;
    void showCapsLock();
    // Makes the virtual pointer, unless there is one.
    void makeVirtualPointer();

    Ports ports_;
    Log log_;
    std::unique_ptr<VirtualOutput> virtualKeyboard_;
    // Made when the first pointing device is grabbed.
    std::unique_ptr<VirtualOutput> virtualPointer_;
    std::unique_ptr<DeviceWatcher> watcher_;
    std::shared_ptr<KeyRoad> road_;
    std::vector<std::shared_ptr<Attached>> attached_;
    // Read and not yet handed on; kept from round to round, so that reading allocates nothing.
    Timed fresh_;
    Reactor::Source watcherReadable_;
    Reactor::Source lightReadable_;
    std::optional<bool> shownCapsLock_;
    // Whether the input devices are watched; the tasks the taps and the lock post then do their work.
    std::shared_ptr<bool> started_ = std::make_shared<bool>(false);
    bool permitted_ = true;
};

}  // namespace veltrane::linuxbackend
