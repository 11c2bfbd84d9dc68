#include "platform/linux/devices/DeviceReport.h"

#include "platform/linux/devices/DeviceClassifier.h"
#include "platform/linux/devices/DeviceWatcher.h"
#include "platform/linux/devices/InputDevice.h"
#include "platform/linux/system/InputAccess.h"
#include "platform/linux/touch/LinuxTouchpad.h"
#include "platform/linux/touch/TouchpadSurface.h"

#include <cstdio>
#include <ostream>
#include <string>
#include <system_error>

namespace veltrane::linuxbackend {

namespace {

const char* action(DeviceClassifier::Kind kind)
{
    switch (kind) {
    case DeviceClassifier::Kind::keyboard:
    case DeviceClassifier::Kind::keyboardAndMouse:
        return "grab";
    case DeviceClassifier::Kind::mouse:
        return "grab while a mouse option is on";
    case DeviceClassifier::Kind::touchpad:
        return "read alongside the desktop";
    case DeviceClassifier::Kind::ignored:
        break;
    }
    return "leave alone";
}

std::string identity(const DeviceCapabilities& device)
{
    char ids[32];
    std::snprintf(ids, sizeof ids, "%04x:%04x", device.vendor, device.product);
    return ids;
}

// What the slide's rules make of the pad: where it sits, its size and whether it measures force.
std::string touchpadDetails(const InputDevice& device)
{
    const auto identity = LinuxTouchpad::identify(device.capabilities());
    const auto surface = TouchpadSurface::read(device.evdev());
    char size[64];
    std::snprintf(size, sizeof size, "%.0f x %.0f mm, %d contacts", surface.width() / 100.0,
                  surface.height() / 100.0, surface.slots);
    return std::string(identity.builtIn ? "built in" : "plugged in") + ", " + size +
           (identity.force ? ", with pressure" : "");
}

}  // namespace

int DeviceReport::write(std::ostream& out)
{
    int status = 0;
    out << InputAccess::describe(InputAccess::rule()) << ".\n";
    const auto nodes = DeviceWatcher::presentNodes();
    if (nodes.empty()) {
        out << "No input devices in /dev/input.\n";
    }
    for (const auto& node : nodes) {
        try {
            const InputDevice device(node);
            const auto& capabilities = device.capabilities();
            const auto verdict = DeviceClassifier::classify(capabilities);
            out << node << "  " << identity(capabilities) << "  \"" << capabilities.name << "\"\n    "
                << action(verdict.kind) << ": " << verdict.reason << '\n';
            if (verdict.kind == DeviceClassifier::Kind::touchpad) {
                out << "    " << touchpadDetails(device) << '\n';
            }
        } catch (const std::system_error& error) {
            out << node << "\n    cannot open: " << error.code().message() << '\n';
            status = error.code() == std::errc::permission_denied ? 1 : status;
        }
    }
    return status;
}

}  // namespace veltrane::linuxbackend
