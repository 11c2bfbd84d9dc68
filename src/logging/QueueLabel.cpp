#include "logging/QueueLabel.h"

#include <uuid/uuid.h>

#include <array>

namespace logging {

std::string QueueLabel::make()
{
    uuid_t uuid;
    uuid_generate(uuid);
    std::array<char, 37> text{};
    uuid_unparse_upper(uuid, text.data());
    std::string label = "Logging-queue-";
    label += text.data();
    return label;
}

}  // namespace logging
