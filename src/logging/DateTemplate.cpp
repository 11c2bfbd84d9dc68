#include "logging/DateTemplate.h"

#include <array>
#include <charconv>
#include <utility>

namespace logging {

namespace {

void appendZeroPadded(std::string& out, int value, int digits)
{
    std::array<char, 16> text;
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    const auto length = static_cast<int>(end - text.data());
    if (length < digits) {
        out.append(static_cast<std::size_t>(digits - length), '0');
    }
    out.append(text.data(), end);
}

char digit(int value)
{
    return static_cast<char>('0' + value);
}

}  // namespace

DateTemplate::DateTemplate(std::vector<Segment> segments, std::int64_t secondStart, int secondOfHour,
                           std::int64_t validUntil)
    : segments_(std::move(segments)), secondStart_(secondStart), secondOfHour_(secondOfHour),
      validUntil_(validUntil)
{
}

std::optional<std::string> DateTemplate::render(std::int64_t milliseconds)
{
    if (milliseconds < secondStart_ || milliseconds >= validUntil_) {
        return std::nullopt;
    }
    const auto elapsed = milliseconds - secondStart_;
    if (elapsed / 1000 != renderedSecond_) {
        renderSecond(elapsed / 1000);
    }
    writeFractions(static_cast<int>(elapsed % 1000));
    return text_;
}

void DateTemplate::renderSecond(std::int64_t second)
{
    const int secondOfHour = secondOfHour_ + static_cast<int>(second);
    text_.clear();
    fractions_.clear();
    for (const auto& segment : segments_) {
        text_ += segment.literal;
        switch (segment.field) {
        case Field::none:
            break;
        case Field::minute:
            appendZeroPadded(text_, secondOfHour / 60, segment.digits);
            break;
        case Field::second:
            appendZeroPadded(text_, secondOfHour % 60, segment.digits);
            break;
        case Field::fraction:
            fractions_.push_back({text_.size(), segment.digits});
            text_.append(static_cast<std::size_t>(segment.digits), '0');
            break;
        }
    }
    renderedSecond_ = second;
}

// The fraction is left-aligned: one letter gives tenths, two hundredths, three or more the
// milliseconds followed by zeros. Its width never changes, so it is written in place.
void DateTemplate::writeFractions(int millisecond)
{
    const std::array<char, 3> digits = {digit(millisecond / 100), digit(millisecond / 10 % 10),
                                        digit(millisecond % 10)};
    for (const auto& fraction : fractions_) {
        const auto count = static_cast<std::size_t>(fraction.digits < 3 ? fraction.digits : 3);
        text_.replace(fraction.offset, count, digits.data(), count);
    }
}

std::vector<int> DateTemplate::letterRuns(std::string_view pattern, char letter)
{
    std::vector<int> runs;
    bool quoted = false;
    char previous = '\0';
    for (const char c : pattern) {
        if (c == '\'') {
            quoted = !quoted;
        } else if (!quoted && c == letter) {
            if (previous == letter) {
                ++runs.back();
            } else {
                runs.push_back(1);
            }
        }
        previous = quoted ? '\'' : c;
    }
    return runs;
}

}  // namespace logging
