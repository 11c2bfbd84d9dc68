#include "logging/BaseDestination.h"
#include "logging/DateFormatter.h"

#include <gtest/gtest.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <array>
#include <chrono>
#include <string>
#include <vector>

namespace logging {
namespace {

using namespace std::chrono_literals;

const TimePoint fixedTime = std::chrono::sys_days{std::chrono::year{2024} / 3 / 10} + 14h + 3min + 7s + 123ms;

class LineFormatTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("UTC")); }

    LineFormatTest()
    {
        destination.timeSource = [] { return fixedTime; };
        destination.startDate = fixedTime - 3725500ms;
    }

    std::string render(const std::string& format, const std::string& message = "started",
                       const std::string& file = "/src/app/AppDelegate.cpp", const Context& context = {})
    {
        return destination.renderLine(format, Level::info, message, "main", file, "start()", 42, context);
    }

    BaseDestination destination;
};

// emit renders the format the destination has at the time of the call; a format that starts with
// "$J" gives the JSON form with every field and ignores its other tokens. The file destination's
// failed JSON form is in the file destination's tests.
TEST_F(LineFormatTest, DefaultFormatGivesTimeLevelPlaceAndMessageAndAChangedFormatOrTheJsonFormIsUsedAtOnce)
{
    EXPECT_EQ(destination.emit(Level::info, "started", "", "/src/app/AppDelegate.cpp", "start()", 42, {}),
              "14:03:07.123 INFO AppDelegate.start():42 - started");
    destination.format = "$L";
    EXPECT_EQ(destination.emit(Level::error, "m", "", "f", "g()", 1, {}), "ERROR");
    destination.format = "$M";
    EXPECT_EQ(destination.emit(Level::error, "m", "", "f", "g()", 1, {}), "m");
    destination.format = "$J $L $M";
    const auto text =
        destination.emit(Level::warning, "disk full", "worker", "/src/Disk.cpp", "check()", 9, {});
    ASSERT_TRUE(text);
    auto json = nlohmann::json::parse(*text);
    EXPECT_DOUBLE_EQ(json["timestamp"].get<double>(), 1710079387.123);
    json.erase("timestamp");
    EXPECT_EQ(json, nlohmann::json::parse(R"json({"level": 3, "message": "disk full", "thread": "worker",
        "file": "/src/Disk.cpp", "function": "check()", "line": 9})json"));
    const auto withContext = destination.emit(Level::info, "m", "", "f", "g()", 1, nlohmann::json{{"id", 4}});
    EXPECT_EQ(nlohmann::json::parse(*withContext)["context"], (nlohmann::json{{"id", 4}}));
}

// Padding fills to the width in user-perceived characters and never cuts. Text outside tokens, and
// groups without a meaning (less their "$"), come out as written; the line loses its trailing white
// space. The file tokens take the last path component; the context is its trimmed text or nothing; the
// colour tokens are never padded. The thread, function, line and message tokens, an object as context
// and the colour tokens around the level are in the facade's and the file destination's tests.
TEST_F(LineFormatTest, TokensArePaddedAndGiveTheCallItsContextColoursAndUptimeAndOtherTextPassesThrough)
{
    EXPECT_EQ(render("$L"), "INFO");
    EXPECT_EQ(render("$-8L|"), "INFO    |");
    EXPECT_EQ(render("$8L|"), "    INFO|");
    EXPECT_EQ(render("$2L"), "INFO");
    EXPECT_EQ(render("$5l|$-4T|"), "   42|main|");
    EXPECT_EQ(render("$15DHH:mm$d|"), "          14:03|");
    // It counts what a reader sees: an e with a combining accent, a flag of two regional indicators,
    // and CR LF are three characters.
    EXPECT_EQ(render("$6M|", "e\u0301\U0001F1EB\U0001F1F7\r\n"), "   e\u0301\U0001F1EB\U0001F1F7\r\n|");
    EXPECT_EQ(render("$-4M|", "\u00E9t\u00E9"), "\u00E9t\u00E9 |");
    EXPECT_EQ(render("no tokens here  \n"), "no tokens here");
    EXPECT_EQ(render("[$M]"), "[started]");
    EXPECT_EQ(render("$M", "done \t\n\u3000"), "done");
    // A vertical tab is not white space to "\s".
    EXPECT_EQ(render("$M", "done\v"), "done\v");
    EXPECT_EQ(render("$Q rest"), "Q rest");
    EXPECT_EQ(render("$-x"), "-x");
    EXPECT_EQ(render("a$5Qb"), "a5Qb");
    EXPECT_EQ(render("$J is only JSON at the start"), "J is only JSON at the start");
    EXPECT_EQ(render("$$M$"), "started");
    EXPECT_EQ(render("$N $n", "m", "/a/b/Foo.bar.src"), "Foo Foo.bar.src");
    EXPECT_EQ(render("$N $n", "m", "Plain.cpp"), "Plain Plain.cpp");
    EXPECT_EQ(render("[$N][$n]", "m", "/a/b/"), "[][]");
    EXPECT_EQ(render("$U"), "01:02:05.500");
    EXPECT_EQ(render("<$X>", "m", "f", nlohmann::json("  hello \n")), "<hello>");
    EXPECT_EQ(render("<$X>", "m", "f", nlohmann::json(7)), "<7>");
    EXPECT_EQ(render("<$X>"), "<>");
    destination.escape = "<esc>";
    destination.levelColor.info = "<info>";
    destination.reset = "<reset>";
    EXPECT_EQ(render("$5C$L$5c"), "<esc><info>INFO<reset>");
}

TEST_F(LineFormatTest, ZoneTokenRendersInUtcAndTheFormatterKeepsThatZone)
{
    icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("Asia/Kolkata"));
    BaseDestination kolkata;
    kolkata.timeSource = [] { return fixedTime; };
    const auto renderIn = [&](const std::string& format) {
        return kolkata.renderLine(format, Level::info, "m", "", "f", "g()", 1, {});
    };
    EXPECT_EQ(renderIn("$DHH:mm$d"), "19:33");
    EXPECT_EQ(renderIn("$ZHH:mm$z $DHH:mm"), "14:03 14:03");
    EXPECT_EQ(renderIn("$DHH:mm"), "14:03");
    EXPECT_EQ(kolkata.renderDate("HH:mm", "NoSuchZone"), "19:33");
    icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("UTC"));
}

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
    using Span = std::chrono::milliseconds;
    for (const auto& [span, step, shift] :
         {std::array<Span, 3>{70min, 13s, 501ms}, {130s, 1s, 7ms}, {3s, 97ms, 0ms}}) {
        for (auto offset = -span; offset < span; offset += step) {
            times.push_back(centre + offset + shift);
        }
    }
    times.insert(times.end(), {centre - 1h, centre - 1h + 59s});
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
    const std::vector<std::string> patterns = {// None, the first of all on a fresh formatter.
                                               "",
                                               // Seconds and their fractions, and quoted letters.
                                               "HH:mm:ss.SSS", "s.S", "ss.SS", "sss SSSS", "'s' ss 'S''s' S",
                                               // Zones, the period of the day and the whole date.
                                               "h:mm:ss a zzzz", "HH:mm:ss O ZZZZZ v",
                                               "yyyy-MM-dd HH:mm:ss.SSS xxx", "A", "B"};
    // One formatter for every zone and pattern, so that none may reuse a date made for another; a
    // zone changed within the hour the formatter last cut is in the zone token's test.
    DateFormatter formatter;
    for (const auto& [zone, centre] : zones) {
        formatter.setTimeZone(zone);
        for (const auto& pattern : patterns) {
            for (const auto time : timesAround(centre)) {
                ASSERT_EQ(formatter.format(pattern, time), expected(pattern, zone, time))
                    << zone << " " << pattern << " " << time.time_since_epoch().count();
            }
        }
    }
}

}  // namespace
}  // namespace logging
