#include "platform/linux/settings/SettingsCommand.h"
#include "SettingsFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace veltrane::linuxbackend {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class SettingsCommandTest : public ::testing::Test {
protected:
    int run(const std::vector<std::string>& arguments)
    {
        out.str("");
        err.str("");
        const auto settings = folder.open();
        return SettingsCommand(*settings, out, err).run(arguments);
    }

    SettingsFolder folder;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(SettingsCommandTest, ListShowsWhatIsInForceMarkingDefaultsAndKeysByName)
{
    folder.write(
        R"({"keyRemap": false, "lastVersion": "1.2", "quickPressTimeout": "inf", "physicalKeycode": 104,
                     "other": 1})");
    EXPECT_EQ(run({"list"}), SettingsCommand::done);
    EXPECT_EQ(out.str(), "lastVersion = \"1.2\"\n"
                         "launchOnLogin = false  (default)\n"
                         "keyRemap = false\n"
                         "physicalKeycode = f13\n"
                         "quickPressTimeout = \"inf\"\n"
                         "disabledApps = []  (default)\n");
    EXPECT_EQ(run({"describe", "physicalKeycode"}), SettingsCommand::done);
    EXPECT_EQ(out.str(),
              "physicalKeycode: the hyper key\n"
              "  takes:   the name of a key (such as escape, capslock or f13), none or its number\n"
              "  default: capslock\n");
    EXPECT_EQ(run({"describe", "quickPressTimeout"}), SettingsCommand::done);
    EXPECT_THAT(out.str(), HasSubstr("  unit:    seconds\n  default: 1.0\n"));
    EXPECT_EQ(run({"path"}), SettingsCommand::done);
    EXPECT_EQ(out.str(), folder.file().string() + "\n");
}

// Add and remove edit the lists of applications.
TEST_F(SettingsCommandTest, SetReadsTheValueAsTheSettingsKindAndResetRemovesIt)
{
    EXPECT_EQ(run({"set", "lastVersion", "2.0 beta"}), SettingsCommand::done);
    EXPECT_EQ(run({"set", "launchOnLogin", "true"}), SettingsCommand::done);
    EXPECT_EQ(run({"set", "keyRemap", "false"}), SettingsCommand::done);
    EXPECT_EQ(run({"set", "physicalKeycode", "f13"}), SettingsCommand::done);
    EXPECT_EQ(run({"set", "quickPressTimeout", "-inf"}), SettingsCommand::done);
    EXPECT_EQ(run({"set", "disabledApps", R"([ "firefox-esr" ])"}), SettingsCommand::done);
    EXPECT_EQ(folder.read(), "{\n"
                             "    \"lastVersion\": \"2.0 beta\",\n"
                             "    \"launchOnLogin\": true,\n"
                             "    \"keyRemap\": false,\n"
                             "    \"physicalKeycode\": 104,\n"
                             "    \"quickPressTimeout\": \"-inf\",\n"
                             "    \"disabledApps\": \"[ \\\"firefox-esr\\\" ]\"\n"
                             "}\n");
    // Alt and Super go by their Linux names, and by the key table's too.
    for (const auto& [given, shown] :
         {std::pair{"f13", "f13\n"}, {"ropt", "ralt\n"}, {"lsuper", "lsuper\n"}}) {
        EXPECT_EQ(run({"set", "physicalKeycode", given}), SettingsCommand::done);
        EXPECT_EQ(run({"get", "physicalKeycode"}), SettingsCommand::done);
        EXPECT_EQ(out.str(), shown);
    }

    EXPECT_EQ(run({"set", "physicalKeycode", "none"}), SettingsCommand::done);
    EXPECT_EQ(run({"set", "quickPressTimeout", "0.25"}), SettingsCommand::done);
    EXPECT_EQ(run({"unset", "keyRemap"}), SettingsCommand::done);
    EXPECT_EQ(run({"reset", "lastVersion"}), SettingsCommand::done);
    EXPECT_EQ(run({"reset", "disabledApps"}), SettingsCommand::done);
    EXPECT_EQ(folder.read(), "{\n"
                             "    \"launchOnLogin\": true,\n"
                             "    \"physicalKeycode\": -1,\n"
                             "    \"quickPressTimeout\": 0.25\n"
                             "}\n");
    EXPECT_EQ(run({"get", "keyRemap"}), SettingsCommand::done);
    EXPECT_EQ(out.str(), "true\n");
    EXPECT_EQ(run({"reset"}), SettingsCommand::done);
    EXPECT_EQ(folder.read(), "{}\n");
    EXPECT_THAT(err.str(), IsEmpty());

    EXPECT_EQ(run({"add", "disabledApps", "firefox-esr"}), SettingsCommand::done);
    EXPECT_EQ(run({"add", "disabledApps", "org.gnome.Terminal"}), SettingsCommand::done);
    EXPECT_EQ(run({"add", "disabledApps", "firefox-esr"}), SettingsCommand::done);
    EXPECT_EQ(run({"remove", "disabledApps", "firefox-esr"}), SettingsCommand::done);
    EXPECT_EQ(run({"get", "disabledApps"}), SettingsCommand::done);
    EXPECT_EQ(out.str(), "[\"org.gnome.Terminal\"]\n");
    EXPECT_THAT(err.str(), IsEmpty());
}

TEST_F(SettingsCommandTest,
       RefusesUnknownKeysAndBadValuesLeavingTheFileAsItIsAndWhatItDoesNotUnderstandWithItsUsage)
{
    const std::string text = R"({"keyRemap": true})";
    folder.write(text);
    const std::pair<std::vector<std::string>, std::string> refusals[] = {
        {{"set", "keyRemap", "yes"}, "keyRemap takes true or false, not \"yes\""},
        {{"set", "physicalKeycode", "escapee"},
         "physicalKeycode takes the name of a key (such as escape, "
         "capslock or f13), none or its number, not \"escapee\""},
        {{"set", "launchOnLogin", "4.5"}, "launchOnLogin takes true or false, not \"4.5\""},
        {{"set", "quickPressTimeout", "soon"},
         "quickPressTimeout takes a number, nan, inf or -inf, not \"soon\""},
        {{"set", "disabledApps", R"(["firefox", 1])"}, "disabledApps takes a JSON array of strings"},
        {{"set", "nothing", "1"}, "unknown setting \"nothing\""},
        {{"get", "nothing"}, "unknown setting \"nothing\""},
        {{"unset", "nothing"}, "unknown setting \"nothing\""},
        {{"describe", "nothing"}, "unknown setting \"nothing\""},
        {{"add", "keyRemap", "firefox-esr"}, "keyRemap is no list of applications"},
        {{"add", "disabledApps", ""}, "an application's name cannot be empty"},
        {{"remove", "disabledApps", "firefox-esr"}, "firefox-esr is not in disabledApps, which holds []"},
    };
    for (const auto& [arguments, message] : refusals) {
        EXPECT_EQ(run(arguments), SettingsCommand::refused);
        EXPECT_THAT(err.str(), HasSubstr(message));
        EXPECT_EQ(folder.read(), text);
    }
    const std::vector<std::string> misuses[] = {
        {}, {"show"}, {"list", "keyRemap"}, {"get"}, {"set", "keyRemap"}, {"add", "disabledApps"}};
    for (const auto& arguments : misuses) {
        EXPECT_EQ(run(arguments), SettingsCommand::refused);
        EXPECT_EQ(err.str(),
                  "usage: veltrane config list | describe KEY | get KEY | set KEY VALUE | add KEY NAME "
                  "| remove KEY NAME | reset [KEY] | unset KEY | path\n");
    }
}

TEST_F(SettingsCommandTest, StopsAtAFileThatCannotBeUsedLeavingItAsItIs)
{
    const std::string text = "{\n  \"keyRemap\": true,\n}";
    folder.write(text);
    const std::vector<std::string> commands[] = {
        {"list"}, {"get", "keyRemap"}, {"set", "keyRemap", "false"}, {"reset"}, {"add", "disabledApps", "x"}};
    for (const auto& arguments : commands) {
        EXPECT_EQ(run(arguments), SettingsCommand::unusableFile);
        EXPECT_THAT(err.str(), HasSubstr(folder.file().string() + ":3:1: expected a key in double quotes"));
        EXPECT_THAT(out.str(), IsEmpty());
        EXPECT_EQ(folder.read(), text);
    }
}

}  // namespace
}  // namespace veltrane::linuxbackend
