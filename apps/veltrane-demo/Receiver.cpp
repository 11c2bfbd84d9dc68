#include "Receiver.h"

#include "platform/KeyTable.h"
#include "platform/linux/virtual/VirtualDevice.h"

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <filesystem>
#include <optional>
#include <utility>

namespace veltrane::demo {

namespace {

struct Modifier {
    unsigned left;
    unsigned right;
    const char* name;
};

// In the order shortcuts are written on Linux.
constexpr std::array kModifiers = {Modifier{KEY_LEFTCTRL, KEY_RIGHTCTRL, "Ctrl"},
                                   Modifier{KEY_LEFTALT, KEY_RIGHTALT, "Alt"},
                                   Modifier{KEY_LEFTMETA, KEY_RIGHTMETA, "Super"},
                                   Modifier{KEY_LEFTSHIFT, KEY_RIGHTSHIFT, "Shift"}};

std::optional<std::size_t> modifierIndex(unsigned code)
{
    for (std::size_t index = 0; index < kModifiers.size(); ++index) {
        if (code == kModifiers[index].left || code == kModifiers[index].right) {
            return index;
        }
    }
    return std::nullopt;
}

std::string keyName(unsigned code, bool chord)
{
    const auto* key = platform::KeyTable::byLinuxCode(static_cast<std::uint16_t>(code));
    std::string name = key != nullptr ? std::string(key->name) : "key" + std::to_string(code);
    if (chord || name.size() > 1) {
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    return name;
}

}  // namespace

std::unique_ptr<Receiver> Receiver::open()
{
    for (const auto& entry : std::filesystem::directory_iterator("/dev/input")) {
        if (!entry.path().filename().string().starts_with("event")) {
            continue;
        }
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        char name[256] = {};
        if (fd >= 0 && ::ioctl(fd, EVIOCGNAME(sizeof name - 1), name) >= 0 &&
            std::string(name) == linuxbackend::VirtualDevice::kKeyboardName) {
            return std::unique_ptr<Receiver>(new Receiver(fd));
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    return nullptr;
}

Receiver::~Receiver()
{
    ::close(fd_);
}

std::string Receiver::take()
{
    input_event event{};
    while (::read(fd_, &event, sizeof event) == static_cast<ssize_t>(sizeof event)) {
        if (event.type != EV_KEY) {
            continue;
        }
        if (const auto index = modifierIndex(event.code)) {
            const unsigned bit = 1U << *index;
            modifiers_ = event.value != 0 ? modifiers_ | bit : modifiers_ & ~bit;
        } else if (event.value == 1) {
            pressed(event.code);
        }
    }
    return std::exchange(received_, "");
}

void Receiver::pressed(unsigned code)
{
    std::string chord;
    for (std::size_t index = 0; index < kModifiers.size(); ++index) {
        if ((modifiers_ & (1U << index)) != 0) {
            chord += std::string(kModifiers[index].name) + "+";
        }
    }
    received_ += (received_.empty() ? "" : " ") + chord + keyName(code, !chord.empty());
}

}  // namespace veltrane::demo
