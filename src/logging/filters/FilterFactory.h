#pragma once

#include "logging/filters/CompareFilter.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace logging {

// Makes filters that look at one target: the path, the function or the message of a call.
template <TargetType::Kind target> class FilterFactory {
public:
    using Strings = std::vector<std::string>;

    static std::shared_ptr<CompareFilter> startsWith(Strings strings, bool caseSensitive = false,
                                                     bool required = false, Level minLevel = Level::verbose)
    {
        return make(ComparisonType::Kind::startsWith, std::move(strings), caseSensitive, required, minLevel);
    }
    static std::shared_ptr<CompareFilter> contains(Strings strings, bool caseSensitive = false,
                                                   bool required = false, Level minLevel = Level::verbose)
    {
        return make(ComparisonType::Kind::contains, std::move(strings), caseSensitive, required, minLevel);
    }
    static std::shared_ptr<CompareFilter> excludes(Strings strings, bool caseSensitive = false,
                                                   bool required = false, Level minLevel = Level::verbose)
    {
        return make(ComparisonType::Kind::excludes, std::move(strings), caseSensitive, required, minLevel);
    }
    static std::shared_ptr<CompareFilter> endsWith(Strings strings, bool caseSensitive = false,
                                                   bool required = false, Level minLevel = Level::verbose)
    {
        return make(ComparisonType::Kind::endsWith, std::move(strings), caseSensitive, required, minLevel);
    }
    static std::shared_ptr<CompareFilter> equals(Strings strings, bool caseSensitive = false,
                                                 bool required = false, Level minLevel = Level::verbose)
    {
        return make(ComparisonType::Kind::equals, std::move(strings), caseSensitive, required, minLevel);
    }
    static std::shared_ptr<CompareFilter> custom(bool required, Level minLevel,
                                                 std::function<bool(std::string_view)> predicate)
    {
        ComparisonType comparison{ComparisonType::Kind::custom, {}, true, std::move(predicate)};
        return std::make_shared<CompareFilter>(TargetType{target, std::move(comparison)}, required, minLevel);
    }

private:
    static std::shared_ptr<CompareFilter> make(ComparisonType::Kind kind, Strings strings, bool caseSensitive,
                                               bool required, Level minLevel)
    {
        ComparisonType comparison{kind, std::move(strings), caseSensitive, {}};
        return std::make_shared<CompareFilter>(TargetType{target, std::move(comparison)}, required, minLevel);
    }
};

using PathFilterFactory = FilterFactory<TargetType::Kind::path>;
using FunctionFilterFactory = FilterFactory<TargetType::Kind::function>;
using MessageFilterFactory = FilterFactory<TargetType::Kind::message>;

}  // namespace logging
