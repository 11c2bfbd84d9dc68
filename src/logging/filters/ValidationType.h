#pragma once

namespace logging {

// The groups a destination's filters fall into, in the order they are validated and decided.
enum class ValidationType { excluded, required, nonRequired };

}  // namespace logging
