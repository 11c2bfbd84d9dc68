#include "logging/filters/FilterValidator.h"

namespace logging {

namespace {

std::optional<std::string_view> valueFor(const FilterType& filter, std::string_view path,
                                         std::string_view function, std::optional<std::string_view> message)
{
    switch (filter.target().kind) {
    case TargetType::Kind::path:
        return path;
    case TargetType::Kind::function:
        return function;
    case TargetType::Kind::message:
        break;
    }
    return message;
}

}  // namespace

FilterValidator::Results FilterValidator::validate(const Filters& filters, Level level, std::string_view path,
                                                   std::string_view function,
                                                   std::optional<std::string_view> message)
{
    Results results;
    for (const auto type :
         {ValidationType::excluded, ValidationType::required, ValidationType::nonRequired}) {
        results[static_cast<std::size_t>(type)] =
            validateGroup(filters, type, level, path, function, message);
    }
    return results;
}

bool FilterValidator::belongsTo(const FilterType& filter, ValidationType type)
{
    switch (type) {
    case ValidationType::excluded:
        return filter.isExcluding();
    case ValidationType::required:
        return filter.isRequiredFilter() && !filter.isExcluding();
    case ValidationType::nonRequired:
        break;
    }
    return !filter.isRequiredFilter() && !filter.isExcluding();
}

Result FilterValidator::validateGroup(const Filters& filters, ValidationType type, Level level,
                                      std::string_view path, std::string_view function,
                                      std::optional<std::string_view> message)
{
    int selected = 0;
    PartialMatchData counts;
    for (const auto& filter : filters) {
        if (!belongsTo(*filter, type)) {
            continue;
        }
        ++selected;
        const bool matched = filter->evaluate(valueFor(*filter, path, function, message));
        const bool levelOk = filter->levelAllows(level);
        counts.fullMatchCount += (matched && levelOk) ? 1 : 0;
        counts.conditionMatchCount += (matched && !levelOk) ? 1 : 0;
        counts.logLevelMatchCount += (!matched && levelOk) ? 1 : 0;
    }
    if (selected == 0) {
        return {};
    }
    if (counts.fullMatchCount == selected) {
        return {Result::Kind::allFiltersMatch, {}};
    }
    return {Result::Kind::someFiltersMatch, counts};
}

}  // namespace logging
