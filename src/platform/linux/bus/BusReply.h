#pragma once

#include <systemd/sd-bus.h>

#include <string>

namespace veltrane::linuxbackend {

// A method call made and waited for (within the connection's call timeout): its reply, or why
// there is none.
class BusReply {
public:
    // The arguments follow types as for sd_bus_call_method.
    template <typename... Arguments>
    BusReply(sd_bus* bus, const char* destination, const char* path, const char* interface,
             const char* member, const char* types, Arguments... arguments)
        : result_(sd_bus_call_method(bus, destination, path, interface, member, &error_, &reply_, types,
                                     arguments...))
    {
    }
    ~BusReply();
    BusReply(const BusReply&) = delete;
    BusReply& operator=(const BusReply&) = delete;

    bool ok() const { return result_ >= 0; }
    // The reply, to read; only when ok.
    sd_bus_message* message() const { return reply_; }
    std::string error() const;

private:
    // Empty, as SD_BUS_ERROR_NULL makes it: that macro is a C compound literal, not C++.
    sd_bus_error error_{};
    sd_bus_message* reply_ = nullptr;
    int result_;
};

}  // namespace veltrane::linuxbackend
