#pragma once

#include "logging/DateTemplate.h"
#include "logging/Time.h"

#include <unicode/uversion.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

U_NAMESPACE_BEGIN
class FieldPositionIterator;
class SimpleDateFormat;
class UnicodeString;
U_NAMESPACE_END

namespace logging {

// Renders times with Unicode date patterns ("HH:mm:ss.SSS") in the user's locale. One formatter
// serves every date of one destination and keeps the last time zone it was given. The output is
// always the date formatter's own; the formatter runs only when the local hour changes, since in
// between only the minute, second and fraction fields differ.
class DateFormatter {
public:
    DateFormatter();
    ~DateFormatter();
    DateFormatter(const DateFormatter&) = delete;
    DateFormatter& operator=(const DateFormatter&) = delete;

    // The zone with that abbreviation or identifier ("UTC"); an unknown one means the system's zone.
    void setTimeZone(std::string_view abbreviation);
    std::string format(std::string_view pattern, TimePoint time);

private:
    void usePattern(std::string_view pattern);
    std::string formatAnew(std::int64_t milliseconds);
    std::optional<DateTemplate> cut(const icu::UnicodeString& text, icu::FieldPositionIterator& positions,
                                    std::int64_t milliseconds) const;
    std::optional<std::int64_t> hourEnd(std::int64_t secondStart, int secondOfHour) const;
    std::optional<int> secondOfHour(std::int64_t milliseconds) const;

    std::unique_ptr<icu::SimpleDateFormat> formatter_;
    std::string pattern_;
    bool cuttable_ = true;
    std::optional<DateTemplate> template_;
    std::string zoneAbbreviation_;
};

}  // namespace logging
