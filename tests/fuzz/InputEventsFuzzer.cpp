// Any events of a USB keyboard, a laptop's keyboard with its pointing stick, a mouse and a touchpad,
// routed as the input loop routes them down the key road, with the engine's hyper key on caps lock.
// An op is a byte [device:2][kind:3][arg:3], then what op() reads for its kind; devices go and come
// back, the application posts keys and sets the lock. At the end every key, button and finger down
// on a device still there goes up. Checked on every input:
// - each key change reaches the virtual keyboard in a frame of its own, and changes the key there;
// - no button goes up on the virtual pointer more often than it went down;
// - nothing stays held on the virtual keyboard or pointer once every device is idle or gone.

#include "../platform/linux/road/Road.h"
#include "FuzzInput.h"
#include "platform/linux/road/DeviceRoute.h"

#include <array>
#include <bitset>
#include <climits>
#include <map>
#include <optional>
#include <set>

namespace {

using namespace veltrane::linuxbackend;
using veltrane::fuzz::fail;
using veltrane::fuzz::FuzzInput;

// The keys the road treats apart; another byte names a key by its code.
constexpr std::array<std::uint16_t, 20> kKeys{
    KEY_CAPSLOCK, KEY_A,    KEY_B,     KEY_LEFTSHIFT,   KEY_RIGHTSHIFT,     KEY_LEFTCTRL, KEY_LEFTALT,
    KEY_LEFTMETA, KEY_ESC,  KEY_LEFT,  KEY_F13,         KEY_PLAYPAUSE,      KEY_FN,       BTN_LEFT,
    BTN_RIGHT,    BTN_SIDE, BTN_TOUCH, BTN_TOOL_FINGER, BTN_TOOL_DOUBLETAP, KEY_RIGHTMETA};
constexpr std::array<std::int32_t, 8> kKeyValues{0, 1, 0, 1, 2, -1, 3, INT_MIN};
const std::vector<veltrane::platform::HidKeyMapping> kCapsLockAsCommand{{0x700000039, 0x7000000E3}};

// A device as the kernel shows it: a key is reported only when it changes (a repeat always).
struct Device {
    std::uint16_t bus = BUS_USB;
    bool keys = false;
    bool points = false;
    bool pad = false;
    std::optional<DeviceRoute> route = std::nullopt;  // none while unplugged
    std::bitset<KEY_CNT> down;
};

class Devices {
public:
    explicit Devices(Road& road) : road_(road)
    {
        road.poster.onPost([&road](const veltrane::platform::Event& event) { road.keyRoad->add(event); });
        road.modifiers.onLockRequest([&road](bool) { road.keyRoad->add(KeyRoad::CapsLockChanged{}); });
        for (auto& device : devices_) {
            plug(device);
        }
    }

    void op(FuzzInput& input)
    {
        const std::uint8_t op = input.byte();
        Device& device = devices_[op >> 6];
        const unsigned kind = op >> 3 & 7;
        const unsigned arg = op & 7;
        if (kind < 2) {  // a key, alone or with its report
            const std::uint8_t key = input.byte();
            feed(device, EV_KEY, key < kKeys.size() ? kKeys[key] : key, kKeyValues[arg]);
        }
        if (kind == 1 || kind == 2) {
            feed(device, EV_SYN, kind == 2 && arg == 7 ? SYN_DROPPED : SYN_REPORT, 0);
        } else if (kind == 3) {  // the HID usage of the next key, of the keyboard page mostly
            feed(device, EV_MSC, MSC_SCAN, arg < 6 ? 0x70000 | input.byte() : static_cast<int>(input.word()));
        } else if (kind == 4) {  // motion, wheels and more
            feed(device, EV_REL, arg < 2 ? arg : arg + 4, static_cast<std::int8_t>(input.byte()));
        } else if (kind == 5) {  // slot, sizes, position, tool, tracking id
            feed(device, EV_ABS, ABS_MT_SLOT + arg + (arg > 2 ? 3 : 0),
                 static_cast<std::int16_t>(input.word(2)));
        } else if (kind == 6) {
            const std::uint8_t type = input.byte();
            const unsigned code = input.word(2);
            feed(device, type, code, static_cast<std::int32_t>(input.word()));
        } else if (kind == 7) {
            act(device, arg, input.byte());
        }
    }

    // Every key, button and finger still down goes up.
    void idle()
    {
        for (auto& device : devices_) {
            for (int slot = 0; device.pad && slot < 4; ++slot) {
                feed(device, EV_ABS, ABS_MT_SLOT, slot);
                feed(device, EV_ABS, ABS_MT_TRACKING_ID, -1);
            }
            for (unsigned code = 0; code < KEY_CNT; ++code) {
                feed(device, EV_KEY, code, 0);
            }
            feed(device, EV_SYN, SYN_REPORT, 0);
        }
    }

private:
    void plug(Device& device)
    {
        auto keyboard = device.keys ? road_.plugIn("Keyboard") : nullptr;
        if (keyboard) {  // the engine maps caps lock to left Command
            keyboard->setUserKeyMapping(kCapsLockAsCommand);
        }
        const TouchpadSurface surface{
            .x = {0, 1000, 10}, .y = {0, 600, 10}, .major = {{0, 200, 0}}, .slots = 4};
        auto pad =
            device.pad ? std::make_shared<LinuxTouchpad>(LinuxTouchpad::Identity{{"Pad"}}, surface) : nullptr;
        device.route.emplace(device.bus, keyboard, pad, device.points);
    }

    void act(Device& device, unsigned arg, std::uint8_t value)
    {
        const bool on = value % 2 != 0;
        if (arg == 0 && device.route) {
            if (!device.route->touchpad()) {  // a touchpad leaves the framework, not the road
                carry(device.route->gone());
            }
            device.route.reset();
            device.down.reset();
        } else if (arg == 1 && !device.route) {
            plug(device);
        } else if (arg == 2 && device.route && device.route->keyboard()) {  // the user changes the mapping
            device.route->keyboard()->setUserKeyMapping(on ? kCapsLockAsCommand
                                                           : decltype(kCapsLockAsCommand){});
        } else if (arg == 3) {  // the quick press: the application taps a key of its choice
            const auto source =
                road_.poster.createEventSource(veltrane::platform::EventSourceState::privateState);
            road_.poster.post(*source->createKeyboardEvent(value & 0x7F, true));
            road_.poster.post(*source->createKeyboardEvent(value & 0x7F, false));
        } else if (arg == 4) {
            road_.modifiers.setCapsLockState(on);
        } else if (arg == 5) {  // the desktop's caps lock light
            road_.modifiers.adoptCapsLock(on);
        }
    }

    void feed(Device& device, unsigned type, unsigned code, std::int32_t value)
    {
        if (!device.route ||
            (type == EV_KEY && (code >= KEY_CNT || (value != 2 && (value != 0) == device.down[code])))) {
            return;
        }
        if (type == EV_KEY && value != 2) {
            device.down.flip(code);
        }
        const input_event event{
            {}, static_cast<std::uint16_t>(type), static_cast<std::uint16_t>(code), value};
        if (auto routed = device.route->take(event); routed.work) {
            carry(std::move(*routed.work));
        }
    }

    void carry(KeyRoad::Work work)
    {
        road_.keyRoad->carry(std::move(work));
        road_.keyRoad->runCarried();
    }

    Road& road_;
    std::array<Device, 4> devices_{Device{.keys = true},
                                   Device{.bus = BUS_I8042, .keys = true, .points = true},
                                   Device{.points = true}, Device{.bus = BUS_I2C, .pad = true}};
};

void check(const std::vector<std::string>& keys, const std::vector<input_event>& pointer)
{
    std::set<std::string> held;
    for (const auto& change : keys) {
        if (change[0] == '?' ||
            (change[0] == '+' ? !held.insert(change.substr(1)).second : held.erase(change.substr(1)) == 0)) {
            fail("a key change went to the virtual keyboard outside a frame of its own, or to no change: " +
                 change);
        }
    }
    // Several devices share the virtual pointer: a button two of them hold goes down there twice.
    std::map<std::uint16_t, int> buttons;
    for (const auto& event : pointer) {
        if (event.type == EV_KEY && event.value != 2 &&
            (buttons[event.code] += event.value != 0 ? 1 : -1) < 0) {
            fail("a button went up on the virtual pointer more often than down: " +
                 std::to_string(event.code));
        }
    }
    std::erase_if(buttons, [](const auto& button) { return button.second == 0; });
    if (!held.empty() || !buttons.empty()) {
        fail("a key or button stays held on a virtual device with every device idle or gone: " +
             (held.empty() ? std::to_string(buttons.begin()->first) : *held.begin()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    Road road;
    // The input loop reads the devices on the main queue.
    road.mainLoop.sync([&] {
        Devices devices(road);
        while (!input.empty()) {
            devices.op(input);
        }
        devices.idle();
    });
    check(road.written(), road.pointerOutput);
    return 0;
}
