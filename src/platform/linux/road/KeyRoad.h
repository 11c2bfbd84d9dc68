#pragma once

#include "platform/Event.h"
#include "platform/Queue.h"
#include "platform/linux/devices/KeyDecoder.h"
#include "platform/linux/hid/LinuxHidStack.h"
#include "platform/linux/hid/LinuxKeyboard.h"
#include "platform/linux/road/KeyPipeline.h"
#include "platform/linux/touch/LinuxTouchpad.h"

#include <linux/input.h>

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <variant>
#include <vector>

namespace veltrane::linuxbackend {

// The way to the key pipeline, which runs on the main queue beside the event taps: the input loop
// carries what it read and runs it down at once, on the thread that read it, other threads add
// posted events, and whatever has come goes down in order.
class KeyRoad : public std::enable_shared_from_this<KeyRoad> {
public:
    struct Key {
        std::shared_ptr<LinuxKeyboard> keyboard;
        KeyDecoder::Change change;
    };
    // A whole report of a pointing device, SYN_REPORT included.
    struct Pointer {
        std::vector<input_event> report;
    };
    // A device went away: the buttons it held go up, then the keys of the keyboard, if it was one,
    // before the HID managers hear it is gone.
    struct Gone {
        std::shared_ptr<LinuxKeyboard> keyboard;
        std::vector<input_event> buttonsUp;
    };
    // A touchpad's report, taken and waiting: its contact frame goes to the framework's callback.
    struct Touch {
        std::shared_ptr<LinuxTouchpad> touchpad;
    };
    // The application changed the caps lock lock.
    struct CapsLockChanged {};
    using Work = std::variant<Key, Pointer, Gone, platform::Event, Touch, CapsLockChanged>;

    static std::shared_ptr<KeyRoad> create(std::unique_ptr<KeyPipeline> pipeline, LinuxHidStack& hid,
                                           platform::Queue& mainQueue);

    // From any thread: the work goes down the pipeline after all added before it.
    void add(Work work);
    // On the main queue: as add(), but nothing runs until runCarried().
    void carry(Work work);
    // On the main queue: runs all work there is.
    void runCarried();
    // From any thread but while the road runs on it: what is still on the road is dropped,
    // nothing more goes down the pipeline, and every key held on the virtual keyboard goes up.
    void close();

private:
    KeyRoad(std::unique_ptr<KeyPipeline> pipeline, LinuxHidStack& hid, platform::Queue& mainQueue);

    // False when nothing need be scheduled: the road is closed, not asked to, or already is.
    bool push(Work work, bool schedule);
    void run();
    std::optional<Work> take();
    void process(Work& work);

    const std::unique_ptr<KeyPipeline> pipeline_;
    LinuxHidStack& hid_;
    platform::Queue& mainQueue_;
    // Held while the pipeline runs, so that close() waits for the key going down it.
    std::mutex running_;
    std::mutex mutex_;
    // Set under both locks, read under either.
    bool closed_ = false;
    std::deque<Work> work_;
    // A task to run the road is on the main queue, or running.
    bool scheduled_ = false;
};

}  // namespace veltrane::linuxbackend
