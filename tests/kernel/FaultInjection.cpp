// Preloaded into the real program (LD_PRELOAD), it makes the calls that a kernel fails only now and
// then fail on demand. VELTRANE_FAULTS holds rules separated by ';', each "CALL FILE FAULT [SWITCH]";
// the first rule that fails a call decides what it does:
//   CALL   read or write on a descriptor whose file's path holds FILE; or udev, for the udev monitor's
//          devices whose node holds FILE;
//   FAULT  EINTR: every other call is interrupted before it does anything;
//          short: every other write of several input events writes the first one only;
//          replace / unlink: before every other read, the file named as it with ".next" added is
//          renamed over it / it is removed, as an editor may do while the program reads it;
//          lose: each device is lost, and the call tells so as a monitor that ran over does;
//          an errno name (EIO): every call fails so;
//   SWITCH a path: the rule applies only while a file is there.
#include <dlfcn.h>
#include <libudev.h>
#include <linux/input.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>
#include <sstream>
#include <string>

namespace {

struct Rule {
    std::string call;
    std::string file;
    std::string fault;
    std::string onlyWhile;
    std::atomic<unsigned> calls{0};
};

std::deque<Rule>& rules()
{
    static std::deque<Rule> parsed = [] {
        std::deque<Rule> all;
        std::istringstream text(std::getenv("VELTRANE_FAULTS") ? std::getenv("VELTRANE_FAULTS") : "");
        for (std::string line; std::getline(text, line, ';');) {
            std::istringstream words(line);
            auto& rule = all.emplace_back();
            words >> rule.call >> rule.file >> rule.fault >> rule.onlyWhile;
        }
        return all;
    }();
    return parsed;
}

// The file a descriptor reads or writes, as /proc names it, without the mark of a file removed since.
std::string pathOf(int fd)
{
    char path[4096];
    const auto length = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path - 1);
    const std::string named(path, length < 0 ? 0 : static_cast<std::size_t>(length));
    return named.substr(0, named.find(" (deleted)"));
}

// Whether the rule fails this call: the faults of a moment every other call, the others every call.
bool fires(Rule& rule)
{
    const bool odd = rule.calls++ % 2 == 0;
    const bool passing =
        rule.fault == "EINTR" || rule.fault == "short" || rule.fault == "replace" || rule.fault == "unlink";
    return odd || !passing;
}

// The first rule that fails this call on that file, if any.
const Rule* firing(const char* call, const std::string& file)
{
    for (auto& rule : rules()) {
        if (rule.call == call && file.find(rule.file) != std::string::npos &&
            (rule.onlyWhile.empty() || ::access(rule.onlyWhile.c_str(), F_OK) == 0) && fires(rule)) {
            return &rule;
        }
    }
    return nullptr;
}

// The errno value the fault names, if it names one.
std::optional<int> errnoNamed(const std::string& fault)
{
    for (int number = 1; number < 134; ++number) {
        if (const char* name = ::strerrorname_np(number); name != nullptr && fault == name) {
            return number;
        }
    }
    return std::nullopt;
}

template <class Function> Function next(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t read(int fd, void* buffer, std::size_t count)
{
    static const auto real = next<ssize_t (*)(int, void*, std::size_t)>("read");
    const auto path = rules().empty() ? std::string() : pathOf(fd);
    if (const Rule* rule = firing("read", path)) {
        if (rule->fault == "replace") {
            std::rename((path + ".next").c_str(), path.c_str());
        } else if (rule->fault == "unlink") {
            ::unlink(path.c_str());
        } else if (const auto error = errnoNamed(rule->fault)) {
            errno = *error;
            return -1;
        }
    }
    return real(fd, buffer, count);
}

extern "C" ssize_t write(int fd, const void* buffer, std::size_t count)
{
    static const auto real = next<ssize_t (*)(int, const void*, std::size_t)>("write");
    if (const Rule* rule = firing("write", rules().empty() ? std::string() : pathOf(fd))) {
        if (rule->fault == "short" && count > sizeof(input_event)) {
            count = sizeof(input_event);
        } else if (const auto error = errnoNamed(rule->fault)) {
            errno = *error;
            return -1;
        }
    }
    return real(fd, buffer, count);
}

extern "C" udev_device* udev_monitor_receive_device(udev_monitor* monitor)
{
    static const auto real = next<udev_device* (*)(udev_monitor*)>("udev_monitor_receive_device");
    udev_device* device = real(monitor);
    const char* node = device != nullptr ? udev_device_get_devnode(device) : nullptr;
    if (const Rule* rule = node != nullptr ? firing("udev", node) : nullptr; rule && rule->fault == "lose") {
        udev_device_unref(device);
        errno = ENOBUFS;
        return nullptr;
    }
    return device;
}
