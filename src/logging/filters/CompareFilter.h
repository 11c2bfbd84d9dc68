#pragma once

#include "logging/filters/Filter.h"

#include <string>
#include <vector>

namespace logging {

// A filter that compares its target with a list of strings, or asks a predicate.
class CompareFilter : public Filter {
public:
    CompareFilter(TargetType targetType, bool required, Level minLevel);

    bool evaluate(std::optional<std::string_view> value) const override;
    bool isExcluding() const override;

private:
    bool holds(std::string_view subject, std::string_view string) const;

    // The strings as compared: lower-cased once here when the comparison ignores case.
    std::vector<std::string> strings_;
};

}  // namespace logging
