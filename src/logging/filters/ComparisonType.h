#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace logging {

// How a filter tests a value. Every kind but custom holds when at least one of the strings passes:
// the value starts with it, contains it, does not contain it (excludes), ends with it, or equals it.
struct ComparisonType {
    enum class Kind { startsWith, contains, excludes, endsWith, equals, custom };

    Kind kind = Kind::contains;
    std::vector<std::string> strings;
    bool caseSensitive = false;
    std::function<bool(std::string_view)> predicate;  // custom only
};

}  // namespace logging
