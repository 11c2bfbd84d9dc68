#pragma once

#include <nlohmann/json.hpp>

#include <optional>

namespace logging {

// The optional value a caller attaches to a log call.
using Context = std::optional<nlohmann::json>;

}  // namespace logging
