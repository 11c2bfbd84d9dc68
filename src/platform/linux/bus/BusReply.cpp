#include "platform/linux/bus/BusReply.h"

#include "platform/linux/bus/BusConnection.h"

namespace veltrane::linuxbackend {

BusReply::~BusReply()
{
    sd_bus_message_unref(reply_);
    sd_bus_error_free(&error_);
}

std::string BusReply::error() const
{
    return BusConnection::describe(&error_, result_);
}

}  // namespace veltrane::linuxbackend
