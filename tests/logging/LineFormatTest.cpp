#include "TemporaryFolder.h"
#include "logging/BaseDestination.h"
#include "logging/FileDestination.h"

#include <gtest/gtest.h>
#include <unicode/timezone.h>

#include <chrono>
#include <string>

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

TEST_F(LineFormatTest, DefaultFormatGivesTimeLevelPlaceAndMessage)
{
    const auto line =
        destination.emit(Level::info, "started", "", "/src/app/AppDelegate.cpp", "start()", 42, {});
    EXPECT_EQ(line, "14:03:07.123 INFO AppDelegate.start():42 - started");
}

TEST_F(LineFormatTest, PaddingFillsToTheWidthInUserPerceivedCharactersAndNeverCuts)
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
}

TEST_F(LineFormatTest, TextOutsideTokensPassesThroughWithoutTrailingSpace)
{
    EXPECT_EQ(render("no tokens here  \n"), "no tokens here");
    EXPECT_EQ(render("[$M]"), "[started]");
    EXPECT_EQ(render("$M", "done \t\n\u3000"), "done");
    // A vertical tab is not white space to "\s".
    EXPECT_EQ(render("$M", "done\v"), "done\v");
}

TEST_F(LineFormatTest, GroupsWithoutAMeaningComeOutWithoutTheirDollar)
{
    EXPECT_EQ(render("$Q rest"), "Q rest");
    EXPECT_EQ(render("$-x"), "-x");
    EXPECT_EQ(render("a$5Qb"), "a5Qb");
    EXPECT_EQ(render("$J is only JSON at the start"), "J is only JSON at the start");
    EXPECT_EQ(render("$$M$"), "started");
}

TEST_F(LineFormatTest, CallAndUptimeTokensWithTheFileAsItsLastPathComponent)
{
    EXPECT_EQ(render("$N $n", "m", "/a/b/Foo.bar.src"), "Foo Foo.bar.src");
    EXPECT_EQ(render("$N $n", "m", "Plain.cpp"), "Plain Plain.cpp");
    EXPECT_EQ(render("[$N][$n]", "m", "/a/b/"), "[][]");
    EXPECT_EQ(render("$T $F:$l $M"), "main start():42 started");
    EXPECT_EQ(render("$U"), "01:02:05.500");
}

TEST_F(LineFormatTest, ContextIsItsTrimmedTextOrNothing)
{
    EXPECT_EQ(render("<$X>", "m", "f", nlohmann::json("  hello \n")), "<hello>");
    EXPECT_EQ(render("<$X>", "m", "f", nlohmann::json{{"a", 1}}), "<{\"a\":1}>");
    EXPECT_EQ(render("<$X>", "m", "f", nlohmann::json(7)), "<7>");
    EXPECT_EQ(render("<$X>"), "<>");
}

TEST_F(LineFormatTest, ColourTokensWrapTheLevel)
{
    destination.escape = "<esc>";
    destination.levelColor.info = "<info>";
    destination.reset = "<reset>";
    EXPECT_EQ(render("$C$L$c $M"), "<esc><info>INFO<reset> started");
    EXPECT_EQ(render("$5C$L"), "<esc><info>INFO");
}

TEST_F(LineFormatTest, AChangedFormatIsUsedAtOnce)
{
    destination.format = "$L";
    EXPECT_EQ(destination.emit(Level::error, "m", "", "f", "g()", 1, {}), "ERROR");
    destination.format = "$M";
    EXPECT_EQ(destination.emit(Level::error, "m", "", "f", "g()", 1, {}), "m");
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

TEST_F(LineFormatTest, JsonFormCarriesEveryFieldAndIgnoresOtherTokens)
{
    destination.format = "$J $L $M";
    const auto text =
        destination.emit(Level::warning, "disk full", "worker", "/src/Disk.cpp", "check()", 9, {});
    ASSERT_TRUE(text);
    const auto json = nlohmann::json::parse(*text);
    EXPECT_DOUBLE_EQ(json["timestamp"].get<double>(), 1710079387.123);
    EXPECT_EQ(json["level"], 3);
    EXPECT_EQ(json["message"], "disk full");
    EXPECT_EQ(json["thread"], "worker");
    EXPECT_EQ(json["file"], "/src/Disk.cpp");
    EXPECT_EQ(json["function"], "check()");
    EXPECT_EQ(json["line"], 9);
    EXPECT_FALSE(json.contains("context"));

    const auto withContext = destination.emit(Level::info, "m", "", "f", "g()", 1, nlohmann::json{{"id", 4}});
    EXPECT_EQ(nlohmann::json::parse(*withContext)["context"], (nlohmann::json{{"id", 4}}));
}

TEST(JsonForm, MessageThatIsNotUtf8IsReportedOnStandardOutputAndWritesNothing)
{
    testing::TemporaryFolder folder;
    FileDestination destination(folder / "app.log");
    destination.format = "$J";
    ::testing::internal::CaptureStdout();
    const auto text = destination.emit(Level::info, "bad \xFF byte", "", "f", "g()", 1, {});
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Logging could not create JSON from dict.\n");
    EXPECT_FALSE(text);
    EXPECT_FALSE(std::filesystem::exists(folder / "app.log"));
}

}  // namespace
}  // namespace logging
