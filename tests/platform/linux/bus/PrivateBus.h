#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace veltrane::linuxbackend {

// A message bus of the test's own: a dbus-daemon listening on a fresh socket, stopped with the
// object. Its address is empty when the daemon did not start.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    const std::string& address() const { return address_; }

private:
    std::filesystem::path configuration_;
    pid_t daemon_ = -1;
    std::string address_;
};

}  // namespace veltrane::linuxbackend
