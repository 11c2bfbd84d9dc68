#include "logging/BaseDestination.h"
#include "logging/filters/FilterValidator.h"
#include "logging/filters/Filters.h"

#include <gtest/gtest.h>

#include <string>

namespace logging {
namespace {

class FilterTest : public ::testing::Test {
protected:
    bool accepts(Level level, const std::string& path = "/c/x", const std::string& message = "quiet")
    {
        return destination.accepts(level, path, "run()", message);
    }

    BaseDestination destination;
};

// Without filters the minimum level decides; with debugPrint on, every decision tells why. An
// excluding filter refuses messages that contain its string, whatever the case; one without strings
// refuses everything.
TEST_F(FilterTest, WithoutFiltersTheMinimumLevelDecidesAndExcludingFiltersRefuseMessagesWithTheirString)
{
    destination.debugPrint = true;
    destination.minLevel = Level::warning;
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(accepts(Level::info));
    EXPECT_TRUE(accepts(Level::warning));
    EXPECT_TRUE(accepts(Level::error));
    destination.addFilter(Filters::Message::excludes({"noise"}));
    EXPECT_FALSE(accepts(Level::error, "/c/x", "Some NOISE here"));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "filters are empty and level < minLevel\n"
                                                        "filters are empty and level >= minLevel\n"
                                                        "filters are empty and level >= minLevel\n"
                                                        "filters are not empty and message was excluded\n");
    destination.debugPrint = false;
    EXPECT_FALSE(accepts(Level::info));
    EXPECT_TRUE(accepts(Level::error));
    destination.addFilter(Filters::Message::excludes({}));
    EXPECT_FALSE(accepts(Level::error));
}

// A matching non-required filter lets a call below the minimum level through, but a match below the
// filter's own level refuses the call; without a match, or once the very filter object is removed, the
// minimum level decides.
TEST_F(FilterTest, NonRequiredFilterOverridesTheMinimumLevelWhenItMatches)
{
    const auto filter = Filters::Path::startsWith({"/a/", "/b/"}, true, false, Level::verbose);
    destination.minLevel = Level::error;
    destination.addFilter(filter);
    EXPECT_TRUE(accepts(Level::debug, "/b/x"));
    EXPECT_FALSE(accepts(Level::debug, "/c/x"));
    EXPECT_TRUE(accepts(Level::error, "/c/x"));
    destination.removeFilter(Filters::Path::startsWith({"/a/", "/b/"}, true, false, Level::verbose));
    EXPECT_TRUE(accepts(Level::debug, "/b/x"));
    destination.removeFilter(filter);
    EXPECT_FALSE(accepts(Level::debug, "/b/x"));

    destination.minLevel = Level::verbose;
    destination.addFilter(Filters::Path::startsWith({"/a/", "/b/"}, true, false, Level::error));
    EXPECT_FALSE(accepts(Level::warning, "/b/x"));
    EXPECT_TRUE(accepts(Level::error, "/b/x"));
    EXPECT_TRUE(accepts(Level::warning, "/c/x"));
}

// Required filters must all match, whatever the others say; the excluded group is decided before them.
TEST_F(FilterTest, RequiredFiltersMustAllMatchWhateverTheOthersSay)
{
    destination.addFilter(Filters::Path::contains({"/src/"}, true, true));
    destination.addFilter(Filters::Function::equals({"run()"}, true, true));
    destination.addFilter(Filters::Message::contains({"quiet"}));
    EXPECT_TRUE(accepts(Level::verbose, "/src/x", "other"));
    EXPECT_FALSE(accepts(Level::error, "/lib/x", "quiet"));
    destination.addFilter(Filters::Message::excludes({"secret"}, true, true));
    EXPECT_TRUE(accepts(Level::info, "/src/x", "public"));
    EXPECT_FALSE(accepts(Level::info, "/src/x", "a secret"));
}

TEST(CompareFilter, ComparisonsAndCase)
{
    using Path = Filters::Path;
    EXPECT_FALSE(Path::equals({"Foo"}, true)->evaluate("foo"));
    EXPECT_TRUE(Path::equals({"Foo"}, false)->evaluate("foo"));
    EXPECT_TRUE(Path::contains({"ÄRGER"}, false)->evaluate("viel ärger"));
    EXPECT_TRUE(Path::endsWith({".h", ".cpp"})->evaluate("main.cpp"));
    EXPECT_TRUE(Path::excludes({"a", "b"})->evaluate("only a"));
    EXPECT_FALSE(Path::excludes({"a", "b"})->evaluate("a and b"));
    EXPECT_FALSE(Path::startsWith({})->evaluate("anything"));
    EXPECT_FALSE(Path::contains({"x"})->evaluate(std::nullopt));
    EXPECT_TRUE(Path::custom(false, Level::verbose, [](std::string_view v) {
                    return v.size() == 3;
                })->evaluate("abc"));
}

// Each group is counted on its own; a group where nothing matches at all is still someFiltersMatch.
TEST(FilterValidator, CountsEachGroupSeparately)
{
    const FilterValidator::Filters filters = {
        Filters::Path::contains({"/src/"}, true, false, Level::error),    // condition only
        Filters::Path::contains({"/lib/"}, true, false, Level::verbose),  // level only
        Filters::Path::contains({"/src/"}, true, false, Level::verbose),  // full
        Filters::Function::equals({"run()"}, true, true, Level::verbose),
    };
    const auto results = FilterValidator::validate(filters, Level::info, "/src/x", "run()", std::nullopt);
    EXPECT_EQ(FilterValidator::result(results, ValidationType::excluded), Result{});
    EXPECT_EQ(FilterValidator::result(results, ValidationType::required).kind, Result::Kind::allFiltersMatch);
    EXPECT_EQ(FilterValidator::result(results, ValidationType::nonRequired),
              (Result{Result::Kind::someFiltersMatch, {1, 1, 1}}));
    const auto none = FilterValidator::validate(
        {Filters::Message::contains({"x"}, true, false, Level::error)}, Level::info, "p", "f", std::nullopt);
    EXPECT_EQ(FilterValidator::result(none, ValidationType::nonRequired),
              (Result{Result::Kind::someFiltersMatch, {0, 0, 0}}));
}

}  // namespace
}  // namespace logging
