#include "platform/sim/QuotedText.h"

#include <nlohmann/json.hpp>

namespace veltrane::sim {

std::string quoted(const std::string& text)
{
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace veltrane::sim
