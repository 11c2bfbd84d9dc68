#pragma once

#include "ChildProcess.h"
#include "TemporaryFolder.h"
#include "platform/linux/reactor/FileDescriptor.h"

#include <poll.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// A message bus of the test's own: a dbus-daemon listening on a fresh socket, stopped with the
// object. Its address is empty when the daemon did not start.
class PrivateBus {
public:
    PrivateBus()
    {
        testsupport::TemporaryFolder::write(folder_ / "bus.conf", kConfiguration);
        std::array<int, 2> ends{};
        if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
            return;
        }
        const FileDescriptor reading(ends[0]);
        {
            const FileDescriptor writing(ends[1]);
            // It complains of limits it may not raise here.
            daemon_.emplace(std::vector<std::string>{"dbus-daemon",
                                                     "--config-file=" + (folder_ / "bus.conf").string(),
                                                     "--nofork", "--print-address"},
                            testsupport::ChildProcess::Options{
                                .errors = "/dev/null", .outputFd = writing.get(), .stopSignal = SIGTERM});
        }
        // The first line the daemon writes, waiting a few seconds at most for each byte.
        pollfd watched{reading.get(), POLLIN, 0};
        char byte = 0;
        while (::poll(&watched, 1, 5000) > 0 && ::read(reading.get(), &byte, 1) == 1 && byte != '\n') {
            address_ += byte;
        }
    }
    const std::string& address() const { return address_; }

private:
    // Any client of this user may own any name and talk to anyone; nothing is started on demand.
    static constexpr const char* kConfiguration = R"(<busconfig>
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

    const testsupport::TemporaryFolder folder_;
    std::optional<testsupport::ChildProcess> daemon_;
    std::string address_;
};

}  // namespace veltrane::linuxbackend
