#include "platform/linux/virtual/VirtualDevice.h"

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace veltrane::linuxbackend {

namespace {

struct DescriptionDeleter {
    void operator()(libevdev* description) const { libevdev_free(description); }
};
using Description = std::unique_ptr<libevdev, DescriptionDeleter>;

// Every key a keyboard may send, but none of the button ranges, or desktops would take the
// device for a joystick or a tablet.
bool isKeyboardKey(unsigned code)
{
    return (code >= KEY_ESC && code < BTN_MISC) || (code >= KEY_OK && code < BTN_DPAD_UP) ||
           (code >= KEY_ALS_TOGGLE && code < BTN_TRIGGER_HAPPY);
}

Description describe(const char* name)
{
    Description description(libevdev_new());
    libevdev_set_name(description.get(), name);
    libevdev_set_id_bustype(description.get(), BUS_VIRTUAL);
    return description;
}

}  // namespace

std::unique_ptr<VirtualDevice> VirtualDevice::keyboard()
{
    const auto description = describe(kKeyboardName);
    for (unsigned code = KEY_ESC; code < KEY_CNT; ++code) {
        if (isKeyboardKey(code)) {
            libevdev_enable_event_code(description.get(), EV_KEY, code, nullptr);
        }
    }
    // The kernel repeats a held key on the device, for consoles; desktops repeat on their own.
    const int delay = 250;
    const int period = 33;
    libevdev_enable_event_code(description.get(), EV_REP, REP_DELAY, &delay);
    libevdev_enable_event_code(description.get(), EV_REP, REP_PERIOD, &period);
    for (const unsigned led : {0u + LED_NUML, 0u + LED_CAPSL, 0u + LED_SCROLLL}) {
        libevdev_enable_event_code(description.get(), EV_LED, led, nullptr);
    }
    return create(description.get());
}

std::unique_ptr<VirtualDevice> VirtualDevice::pointer()
{
    const auto description = describe(kPointerName);
    for (unsigned code = BTN_LEFT; code <= BTN_TASK; ++code) {
        libevdev_enable_event_code(description.get(), EV_KEY, code, nullptr);
    }
    for (const unsigned axis : {0u + REL_X, 0u + REL_Y, 0u + REL_HWHEEL, 0u + REL_WHEEL,
                                0u + REL_WHEEL_HI_RES, 0u + REL_HWHEEL_HI_RES}) {
        libevdev_enable_event_code(description.get(), EV_REL, axis, nullptr);
    }
    libevdev_enable_property(description.get(), INPUT_PROP_POINTER);
    return create(description.get());
}

std::unique_ptr<VirtualDevice> VirtualDevice::create(libevdev* description)
{
    auto fd = FileDescriptor::opened(::open("/dev/uinput", O_RDWR | O_CLOEXEC | O_NONBLOCK),
                                     "cannot open /dev/uinput for writing");
    libevdev_uinput* device = nullptr;
    const int result = libevdev_uinput_create_from_device(description, fd.get(), &device);
    if (result != 0) {
        throw std::system_error(-result, std::generic_category(),
                                std::string("cannot create ") + libevdev_get_name(description));
    }
    return std::unique_ptr<VirtualDevice>(new VirtualDevice(std::move(fd), device));
}

// The descriptor, which libevdev does not own, closes after the device is destroyed.
VirtualDevice::~VirtualDevice()
{
    libevdev_uinput_destroy(device_);
}

std::size_t VirtualDevice::write(std::span<const input_event> events) const
{
    const auto* bytes = reinterpret_cast<const char*>(events.data());
    std::size_t done = 0;
    while (done < events.size_bytes()) {
        const auto written = ::write(fd(), bytes + done, events.size_bytes() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    // uinput takes whole events only.
    return done / sizeof(input_event);
}

int VirtualDevice::fd() const
{
    return fd_.get();
}

std::optional<bool> VirtualDevice::readCapsLockLight() const
{
    std::optional<bool> light;
    input_event event{};
    while (::read(fd(), &event, sizeof event) == static_cast<ssize_t>(sizeof event)) {
        if (event.type == EV_LED && event.code == LED_CAPSL) {
            light = event.value != 0;
        }
    }
    return light;
}

}  // namespace veltrane::linuxbackend
