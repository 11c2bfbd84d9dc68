#include "Typist.h"

#include "platform/KeyTable.h"

#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace veltrane::demo {

namespace {

constexpr const char* kName = "Demo Keyboard";

std::system_error failure(const std::string& what)
{
    return {errno, std::generic_category(), what};
}

// The event node the kernel made for the keyboard: where a grab by another program shows.
std::string eventNode(int uinput)
{
    char name[64] = {};
    if (::ioctl(uinput, UI_GET_SYSNAME(sizeof name), name) < 0) {
        throw failure("cannot find the keyboard's node");
    }
    for (const auto& entry : std::filesystem::directory_iterator(std::string("/sys/devices/virtual/input/") + name)) {
        const auto file = entry.path().filename().string();
        if (file.starts_with("event")) {
            return "/dev/input/" + file;
        }
    }
    throw std::runtime_error("the keyboard has no event node");
}

}  // namespace

Typist::Typist() : uinput_(::open("/dev/uinput", O_WRONLY | O_CLOEXEC))
{
    if (uinput_ < 0) {
        throw failure("cannot open /dev/uinput");
    }
    ::ioctl(uinput_, UI_SET_EVBIT, EV_KEY);
    ::ioctl(uinput_, UI_SET_EVBIT, EV_MSC);
    ::ioctl(uinput_, UI_SET_MSCBIT, MSC_SCAN);
    for (const auto& key : platform::KeyTable::keys()) {
        ::ioctl(uinput_, UI_SET_KEYBIT, key.linuxCode);
    }
    uinput_setup setup{};
    setup.id = {.bustype = BUS_USB, .vendor = 0x046D, .product = 0xC31C, .version = 1};
    std::strncpy(setup.name, kName, UINPUT_MAX_NAME_SIZE - 1);
    if (::ioctl(uinput_, UI_DEV_SETUP, &setup) < 0 || ::ioctl(uinput_, UI_DEV_CREATE) < 0) {
        throw failure("cannot make the demo keyboard");
    }
}

Typist::~Typist()
{
    ::ioctl(uinput_, UI_DEV_DESTROY);
    ::close(uinput_);
}

void Typist::key(std::uint16_t linuxCode, bool down)
{
    if (const auto* known = platform::KeyTable::byLinuxCode(linuxCode)) {
        emit(EV_MSC, MSC_SCAN, static_cast<std::int32_t>(known->usagePage << 16 | known->usage));
    }
    emit(EV_KEY, linuxCode, down ? 1 : 0);
    emit(EV_SYN, SYN_REPORT, 0);
    // A person's keys are some milliseconds apart.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

void Typist::chord(std::initializer_list<std::uint16_t> linuxCodes)
{
    for (const auto code : linuxCodes) {
        key(code, true);
    }
    const std::vector<std::uint16_t> codes(linuxCodes);
    for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
        key(*code, false);
    }
}

bool Typist::grabbed() const
{
    const int fd = ::open(eventNode(uinput_).c_str(), O_RDONLY | O_CLOEXEC);
    const bool taken = fd >= 0 && ::ioctl(fd, EVIOCGRAB, 1) < 0 && errno == EBUSY;
    if (fd >= 0) {
        ::close(fd);
    }
    return taken;
}

void Typist::emit(std::uint16_t type, std::uint16_t code, std::int32_t value) const
{
    input_event event{};
    event.type = type;
    event.code = code;
    event.value = value;
    if (::write(uinput_, &event, sizeof event) != static_cast<ssize_t>(sizeof event)) {
        throw failure("cannot type on the demo keyboard");
    }
}

}  // namespace veltrane::demo
