#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace logging {

// A date that the formatter rendered once, cut into the text that stays the same until the local
// hour ends (or the time zone's offset changes) and the minute, second and fraction fields, which
// are filled in anew for each time in that window. Saves formatting the whole date for every line;
// within one second only the fraction digits are rewritten.
class DateTemplate {
public:
    enum class Field { none, minute, second, fraction };

    struct Segment {
        std::string literal;  // the text before the field
        Field field = Field::none;
        int digits = 0;  // the field's letter count in the pattern
    };

    // Cut as the formatter rendered: the fields in output order, each with its letter count.
    // secondOfHour: the local time of secondStart in seconds since the start of its hour.
    DateTemplate(std::vector<Segment> segments, std::int64_t secondStart, int secondOfHour,
                 std::int64_t validUntil);

    // The text for a time in milliseconds since 1970, or nothing outside the window.
    std::optional<std::string> render(std::int64_t milliseconds);

    // The letter counts of the runs of one pattern letter outside quotes, in pattern order.
    static std::vector<int> letterRuns(std::string_view pattern, char letter);

private:
    struct Fraction {
        std::size_t offset;
        int digits;
    };

    void renderSecond(std::int64_t second);
    void writeFractions(int millisecond);

    std::vector<Segment> segments_;
    std::int64_t secondStart_;
    int secondOfHour_;
    std::int64_t validUntil_;

    // The text of the second last rendered, with the places of its fraction fields.
    std::int64_t renderedSecond_ = -1;
    std::string text_;
    std::vector<Fraction> fractions_;
};

}  // namespace logging
