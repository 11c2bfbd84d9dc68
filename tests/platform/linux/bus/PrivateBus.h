#pragma once

#include "platform/linux/reactor/FileDescriptor.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

namespace veltrane::linuxbackend {

// A message bus of the test's own: a dbus-daemon listening on a fresh socket, stopped with the
// object. Its address is empty when the daemon did not start.
class PrivateBus {
public:
    PrivateBus()
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
            if (::posix_spawnp(&daemon_, program.c_str(), &actions, nullptr, arguments.data(), environ) !=
                0) {
                daemon_ = -1;
            }
            posix_spawn_file_actions_destroy(&actions);
        }
        // The first line the daemon writes, waiting a few seconds at most for each byte.
        pollfd watched{reading.get(), POLLIN, 0};
        char byte = 0;
        while (::poll(&watched, 1, 5000) > 0 && ::read(reading.get(), &byte, 1) == 1 && byte != '\n') {
            address_ += byte;
        }
    }
    ~PrivateBus()
    {
        if (daemon_ > 0) {
            ::kill(daemon_, SIGTERM);
            ::waitpid(daemon_, nullptr, 0);
        }
        std::filesystem::remove(configuration_);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    const std::string& address() const { return address_; }

private:
    // Any client of this user may own any name and talk to anyone; nothing is started on demand.
    static std::filesystem::path writtenConfiguration()
    {
        static std::atomic<int> written = 0;
        auto path = std::filesystem::temp_directory_path() / ("veltrane-bus-" + std::to_string(::getpid()) +
                                                              "-" + std::to_string(written++) + ".conf");
        std::ofstream(path) << R"(<busconfig>
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
        return path;
    }

    std::filesystem::path configuration_ = writtenConfiguration();
    pid_t daemon_ = -1;
    std::string address_;
};

}  // namespace veltrane::linuxbackend
