#include "logging/filters/CompareFilter.h"

#include "logging/UnicodeText.h"

#include <algorithm>
#include <utility>

namespace logging {

CompareFilter::CompareFilter(TargetType targetType, bool required, Level minLevel)
    : Filter(std::move(targetType), required, minLevel)
{
    const auto& comparison = target().comparison;
    for (const auto& string : comparison.strings) {
        strings_.push_back(comparison.caseSensitive ? string : UnicodeText::lowercased(string));
    }
}

bool CompareFilter::evaluate(std::optional<std::string_view> value) const
{
    if (!value) {
        return false;
    }
    const auto& comparison = target().comparison;
    if (comparison.kind == ComparisonType::Kind::custom) {
        return comparison.predicate && comparison.predicate(*value);
    }
    const std::string subject =
        comparison.caseSensitive ? std::string(*value) : UnicodeText::lowercased(*value);
    return std::any_of(strings_.begin(), strings_.end(),
                       [&](const std::string& string) { return holds(subject, string); });
}

bool CompareFilter::isExcluding() const
{
    return target().comparison.kind == ComparisonType::Kind::excludes;
}

bool CompareFilter::holds(std::string_view subject, std::string_view string) const
{
    switch (target().comparison.kind) {
    case ComparisonType::Kind::startsWith:
        return subject.starts_with(string);
    case ComparisonType::Kind::contains:
        return subject.find(string) != std::string_view::npos;
    case ComparisonType::Kind::excludes:
        return subject.find(string) == std::string_view::npos;
    case ComparisonType::Kind::endsWith:
        return subject.ends_with(string);
    case ComparisonType::Kind::equals:
        return subject == string;
    case ComparisonType::Kind::custom:
        break;
    }
    return false;
}

}  // namespace logging
