#include "PrivateBus.h"

#include "platform/linux/settings/FileDescriptor.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <fstream>

namespace veltrane::linuxbackend {

namespace {

// Any client of this user may own any name and talk to anyone; nothing is started on demand.
constexpr const char* configurationText = R"(<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

std::filesystem::path writtenConfiguration()
{
    static std::atomic<int> written = 0;
    auto path = std::filesystem::temp_directory_path() /
                ("veltrane-bus-" + std::to_string(::getpid()) + "-" + std::to_string(written++) + ".conf");
    std::ofstream(path) << configurationText;
    return path;
}

// The first line written to the pipe, waiting a few seconds at most for each byte.
std::string firstLine(const FileDescriptor& pipe)
{
    std::string line;
    pollfd watched{pipe.get(), POLLIN, 0};
    char byte = 0;
    while (::poll(&watched, 1, 5000) > 0 && ::read(pipe.get(), &byte, 1) == 1 && byte != '\n') {
        line += byte;
    }
    return line;
}

}  // namespace

PrivateBus::PrivateBus() : configuration_(writtenConfiguration())
{
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
        return;
    }
    const FileDescriptor reading(ends[0]);
    {
        const FileDescriptor writing(ends[1]);
        std::string program = "dbus-daemon";
        std::string configuration = "--config-file=" + configuration_.string();
        std::string noFork = "--nofork";
        std::string printAddress = "--print-address";
        std::array<char*, 5> arguments{program.data(), configuration.data(), noFork.data(),
                                       printAddress.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, writing.get(), STDOUT_FILENO);
        // It complains of limits it may not raise here.
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (::posix_spawnp(&daemon_, program.c_str(), &actions, nullptr, arguments.data(), environ) != 0) {
            daemon_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    address_ = firstLine(reading);
}

PrivateBus::~PrivateBus()
{
    if (daemon_ > 0) {
        ::kill(daemon_, SIGTERM);
        ::waitpid(daemon_, nullptr, 0);
    }
    std::filesystem::remove(configuration_);
}

}  // namespace veltrane::linuxbackend
