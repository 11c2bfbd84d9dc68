#include "platform/linux/system/LinuxSystem.h"

#include "platform/linux/system/KernelRelease.h"

#include <spawn.h>
#include <sys/epoll.h>
#include <sys/syscall.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>

namespace veltrane::linuxbackend {

namespace {

constexpr const char* kProductNamePath = "/sys/class/dmi/id/product_name";

// The words as a program receives them: pointers into words, then the null that ends the list.
std::vector<char*> argumentVector(std::vector<std::string>& words)
{
    std::vector<char*> vector;
    for (auto& word : words) {
        vector.push_back(word.data());
    }
    vector.push_back(nullptr);
    return vector;
}

// The program may block signals it handles on a thread of its own, and ignore others (SIGPIPE):
// a child would inherit both and then be deaf to them.
void resetSignals(posix_spawnattr_t& attributes)
{
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, static_cast<short>(POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
}

// This process's environment with the folder first on PATH.
std::vector<std::string> environmentWithCommands(const std::string& commands)
{
    std::vector<std::string> variables;
    std::string path = "PATH=/usr/local/bin:/usr/bin:/bin";
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::string_view(*variable).starts_with("PATH=")) {
            path = *variable;
        } else {
            variables.emplace_back(*variable);
        }
    }
    variables.push_back(commands.empty() ? path : "PATH=" + commands + ":" + path.substr(5));
    return variables;
}

// The child's id, or nothing when it could not start.
std::optional<pid_t> spawn(std::vector<char*>& arguments, std::vector<char*>& environment)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The devices this process holds (grabbed keyboards, the virtual keyboard) must not stay open
    // in a program that may outlive it.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    resetSignals(attributes);
    pid_t child = 0;
    const int error =
        posix_spawnp(&child, arguments.front(), &actions, &attributes, arguments.data(), environment.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? std::optional(child) : std::nullopt;
}

}  // namespace

LinuxSystem::LinuxSystem(Callbacks callbacks, platform::PermissionHelp help, XdgAutostart autostart,
                         Reactor& reactor, std::string commands)
    : callbacks_(std::move(callbacks)), help_(std::move(help)), autostart_(std::move(autostart)),
      reactor_(reactor), commands_(std::move(commands))
{
}

// Ignoring SIGCHLD would also take the status of the children the program waits for itself. A
// kernel without process descriptors (before 5.3) leaves the child a zombie until the program ends.
void LinuxSystem::reapWhenDone(pid_t child)
{
    FileDescriptor process(static_cast<int>(::syscall(SYS_pidfd_open, child, 0)));
    if (!process.valid()) {
        return;
    }
    const int fd = process.get();
    children_[child] = {std::move(process),
                        reactor_.watch("a program started", fd, EPOLLIN, [this, child](std::uint32_t) {
                            ::waitpid(child, nullptr, WNOHANG);
                            children_.erase(child);
                        })};
}

bool LinuxSystem::isProcessTrusted() const
{
    return callbacks_.trusted();
}

platform::OperatingSystemVersion LinuxSystem::operatingSystemVersion() const
{
    utsname names{};
    if (uname(&names) != 0) {
        return {};
    }
    return kernelReleaseVersion(names.release);
}

bool LinuxSystem::setLoginItemEnabled(const std::string& bundleIdentifier, bool enabled)
{
    return autostart_.setEnabled(bundleIdentifier, enabled);
}

void LinuxSystem::launchTask(const std::string& launchPath, const std::vector<std::string>& arguments)
{
    std::vector<std::string> words{launchPath};
    words.insert(words.end(), arguments.begin(), arguments.end());
    auto argv = argumentVector(words);
    auto variables = environmentWithCommands(commands_);
    auto envp = argumentVector(variables);
    if (const auto child = spawn(argv, envp)) {
        reapWhenDone(*child);
    }
}

std::optional<std::vector<std::uint8_t>> LinuxSystem::platformExpertModel() const
{
    std::ifstream file(kProductNamePath, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(file), {});
    if (!file.is_open()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (!bytes.empty() && bytes.back() == '\n') {
        bytes.pop_back();
    }
    return bytes;
}

void LinuxSystem::performHapticFeedback()
{
    callbacks_.debug("No haptic feedback: Linux has no haptic device to play it on");
}

void LinuxSystem::terminate()
{
    callbacks_.terminate();
    std::exit(0);
}

void LinuxSystem::exit(int status)
{
    callbacks_.exit(status);
    // At once: no static destructors while the queues' threads still run; only what is buffered
    // for the standard streams is written.
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace veltrane::linuxbackend
