#include "ScenarioSyntax.h"
#include "KeyNames.h"
#include "ScenarioError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace veltrane::scenario {
namespace {

using Words = std::vector<std::string>;

TEST(ScenarioSyntaxTest, WordsKeepQuotedTextsWholeAndStopAtComments)
{
    EXPECT_EQ(splitWords("  press kb a   # the A key"), (Words{"press", "kb", "a"}));
    EXPECT_EQ(splitWords(R"(default disabledApps "[\"a b\", \"#c\"]" # note)"),
              (Words{"default", "disabledApps", R"("[\"a b\", \"#c\"]")"}));
    EXPECT_EQ(splitWords(R"(trackpad t product-name="Magic \"Pad\" 2")"),
              (Words{"trackpad", "t", R"(product-name="Magic \"Pad\" 2")"}));
    EXPECT_EQ(splitWords("# only a comment"), Words{});
    EXPECT_THROW(splitWords(R"(default x "open)"), ScenarioError);
}

TEST(ScenarioSyntaxTest, NumbersAreDecimalOrHexadecimalAndMayBeNegative)
{
    EXPECT_EQ(parseInteger("57"), 57);
    EXPECT_EQ(parseInteger("0x1E0000"), 0x1E0000);
    EXPECT_EQ(parseInteger("-0x10"), -16);
    EXPECT_EQ(parseInteger("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    for (const char* bad : {"", "-", "0x", "12a", "1.5", "9223372036854775808", "0xg", "--1"}) {
        EXPECT_THROW(parseInteger(bad), ScenarioError) << bad;
    }

    EXPECT_EQ(parseNumber("0.5"), 0.5);
    EXPECT_EQ(parseNumber("1e-3"), 0.001);
    EXPECT_EQ(parseNumber("0x10"), 16.0);
    EXPECT_TRUE(std::isnan(parseNumber("nan")));
    EXPECT_TRUE(std::isinf(parseNumber("-inf")));
    EXPECT_THROW(parseNumber("1.5s"), ScenarioError);
}

// An unknown name is refused in the malformed-line scenario.
TEST(ScenarioSyntaxTest, KeysAreNamesUsagesOrPageAndUsage)
{
    const std::pair<const char*, sim::HidKey> keys[] = {
        {"a", {7, 0x04}},    {"0", {7, 0x27}},    {"1", {7, 0x1E}},
        {"f12", {7, 0x45}},  {"f13", {7, 0x68}},  {"f24", {7, 0x73}},
        {"rcmd", {7, 0xE7}}, {"0x39", {7, 0x39}}, {"0xff:3", {0xFF, 3}}};
    for (const auto& [text, key] : keys) {
        EXPECT_EQ(parseKey(text), key) << text;
    }
    for (const char* bad : {"-1", "7:", "0x100000000"}) {
        EXPECT_THROW(parseKey(bad), ScenarioError) << bad;
    }
}

TEST(ScenarioSyntaxTest, OptionsAreKnownNamesGivenOnce)
{
    const auto options =
        parseOptions({"keyboard", "kb", "vendor=1", "location=0x10"}, 2, {"vendor", "location"});
    EXPECT_EQ(options.at("vendor"), "1");
    EXPECT_EQ(options.at("location"), "0x10");
    EXPECT_THROW(parseOptions({"vendor=1", "vendor=2"}, 0, {"vendor"}), ScenarioError);
    EXPECT_THROW(parseOptions({"colour=red"}, 0, {"vendor"}), ScenarioError);
    EXPECT_THROW(parseOptions({"vendor"}, 0, {"vendor"}), ScenarioError);
}

}  // namespace
}  // namespace veltrane::scenario
