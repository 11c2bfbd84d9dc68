#include "logging/DateFormatter.h"

#include <gtest/gtest.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace logging {
namespace {

using namespace std::chrono_literals;

// What the date formatter itself gives, formatting every time in full.
std::string expected(const std::string& pattern, const std::string& zone, TimePoint time)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::SimpleDateFormat formatter(icu::UnicodeString::fromUTF8(pattern), status);
    formatter.adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone)));
    icu::UnicodeString text;
    const auto milliseconds = std::chrono::floor<std::chrono::milliseconds>(time.time_since_epoch()).count();
    formatter.format(static_cast<UDate>(milliseconds), text);
    std::string out;
    return text.toUTF8String(out);
}

// Times that cross seconds, minutes, hours and, in New York and Lord Howe, a change of offset; then
// steps back.
std::vector<TimePoint> timesAround(TimePoint centre)
{
    std::vector<TimePoint> times;
    for (std::chrono::seconds offset = -70min; offset < 70min; offset += 13s) {
        times.push_back(centre + offset + 501ms);
    }
    for (auto offset = -130s; offset < 130s; offset += 1s) {
        times.push_back(centre + offset + 7ms);
    }
    for (auto offset = -3000ms; offset < 3000ms; offset += 97ms) {
        times.push_back(centre + offset);
    }
    times.push_back(centre - 1h);
    times.push_back(centre - 1h + 59s);
    return times;
}

TEST(DateFormatter, RendersExactlyWhatTheFormatterGivesForEveryTime)
{
    // New York and Lord Howe (a half-hour shift) change their offsets at these moments.
    const std::vector<std::pair<std::string, TimePoint>> zones = {
        {"UTC", std::chrono::sys_days{std::chrono::year{2024} / 3 / 10} + 14h + 3min},
        {"America/New_York", std::chrono::sys_days{std::chrono::year{2024} / 3 / 10} + 7h},
        {"Australia/Lord_Howe", std::chrono::sys_days{std::chrono::year{2024} / 4 / 6} + 15h},
        {"Asia/Kolkata", std::chrono::sys_days{std::chrono::year{1969} / 12 / 31} + 23h + 59min},
    };
    const std::vector<std::string> patterns = {"HH:mm:ss.SSS",
                                               "s.S",
                                               "ss.SS",
                                               "sss SSSS",
                                               "h:mm:ss a zzzz",
                                               "HH:mm:ss O ZZZZZ v",
                                               "'s' ss 'S''s' S",
                                               "yyyy-MM-dd HH:mm:ss.SSS xxx",
                                               "A",
                                               "B"};
    for (const auto& [zone, centre] : zones) {
        DateFormatter formatter;
        formatter.setTimeZone(zone);
        for (const auto& pattern : patterns) {
            for (const auto time : timesAround(centre)) {
                ASSERT_EQ(formatter.format(pattern, time), expected(pattern, zone, time))
                    << zone << " " << pattern << " " << time.time_since_epoch().count();
            }
        }
    }
}

TEST(DateFormatter, SwitchingPatternsAndZonesNeverReusesAnotherDate)
{
    DateFormatter formatter;
    const TimePoint time = std::chrono::sys_days{std::chrono::year{2024} / 7 / 1} + 12h + 30s + 250ms;
    formatter.setTimeZone("UTC");
    EXPECT_EQ(formatter.format("HH:mm:ss.SSS", time), "12:00:30.250");
    EXPECT_EQ(formatter.format("ss", time + 1s), "31");
    formatter.setTimeZone("Asia/Kolkata");
    EXPECT_EQ(formatter.format("HH:mm:ss.SSS", time + 2s), "17:30:32.250");
}

}  // namespace
}  // namespace logging
