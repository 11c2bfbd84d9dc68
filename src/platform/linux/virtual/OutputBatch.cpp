#include "platform/linux/virtual/OutputBatch.h"

namespace veltrane::linuxbackend {

void OutputBatch::key(std::uint16_t code, bool down)
{
    add(EV_KEY, code, down ? 1 : 0);
    add(EV_SYN, SYN_REPORT, 0);
}

void OutputBatch::add(std::uint16_t type, std::uint16_t code, std::int32_t value)
{
    // Overflowing is a programming error: every producer knows the most it appends.
    input_event& event = events_.at(size_);
    event = input_event{};
    event.type = type;
    event.code = code;
    event.value = value;
    ++size_;
}

}  // namespace veltrane::linuxbackend
