#pragma once

#include "logging/Level.h"
#include "logging/filters/FilterType.h"
#include "logging/filters/Result.h"
#include "logging/filters/ValidationType.h"

#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace logging {

// Reduces a destination's filters to one result per validation type.
class FilterValidator {
public:
    using Filters = std::vector<std::shared_ptr<FilterType>>;
    // Indexed by ValidationType.
    using Results = std::array<Result, 3>;

    static Results validate(const Filters& filters, Level level, std::string_view path,
                            std::string_view function, std::optional<std::string_view> message);
    static const Result& result(const Results& results, ValidationType type)
    {
        return results[static_cast<std::size_t>(type)];
    }

private:
    static bool belongsTo(const FilterType& filter, ValidationType type);
    static Result validateGroup(const Filters& filters, ValidationType type, Level level,
                                std::string_view path, std::string_view function,
                                std::optional<std::string_view> message);
};

}  // namespace logging
