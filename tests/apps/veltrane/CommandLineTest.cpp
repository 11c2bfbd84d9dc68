#include "CommandLine.h"
#include "Completions.h"
#include "ManualPage.h"
#include "SettingsReload.h"
#include "TemporaryFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace veltrane {
namespace {

using ::testing::HasSubstr;

// What a shell command writes on its standard output, with its standard error after it.
std::string output(const std::string& command)
{
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen((command + " 2>&1").c_str(), "r"), ::pclose);
    std::string text;
    char buffer[4096];
    for (std::size_t read = 0; (read = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) {
        text.append(buffer, read);
    }
    return text;
}

// A new setting without a meaning would show as a bare key in describe, the manual and the list.
TEST(CommandLineTest, EverySettingOfTheProgramSaysWhatItMeans)
{
    for (const auto& setting : SettingsReload::schema().settings()) {
        EXPECT_FALSE(setting.help.meaning.empty()) << setting.key;
    }
}

// Run by bash itself, as it runs them when a person presses tab.
TEST(CommandLineTest, BashCompletesTheCommandsTheSettingsAndWhatEachTakes)
{
    const testsupport::TemporaryFolder folder;
    const auto script = folder / "veltrane.bash";
    testsupport::TemporaryFolder::write(script, Completions(SettingsReload::schema()).bash());
    const std::pair<std::string, std::string> completions[] = {
        {"veltrane co", "config"},
        {"veltrane config de", "describe"},
        {"veltrane config get quickP", "quickPressTimeout"},
        {"veltrane config add \"\"", "disabledApps enabledApps"},
        {"veltrane config set quickHyperKeycode esc", "escape"},
        {"veltrane config set capsLockKeycode no", "none"},
        {"veltrane config set keyRemap \"\"", "true false"},
        {"veltrane devices \"\"", ""},
    };
    for (const auto& [line, offered] : completions) {
        EXPECT_EQ(output("bash -c 'source " + script.string() + "; COMP_WORDS=(" + line +
                         "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _veltrane; echo \"${COMPREPLY[*]}\"'"),
                  offered + "\n")
            << line;
    }
}

TEST(CommandLineTest, TheManualPageHoldsEveryCommandAndSettingAndGroffReadsItWithoutAWarning)
{
    const auto schema = SettingsReload::schema();
    const auto page = ManualPage::roff(schema, "1.0");
    EXPECT_THAT(page, HasSubstr(".B veltrane config describe KEY\nwhat a setting means"));
    EXPECT_THAT(page, HasSubstr(".B quickHyperKeycode\nthe key a quick press of the hyper key sends.\nTakes the "
                                "name of a key (such as escape, capslock or f13), none or its number; default: "
                                "none.\n"));
    const testsupport::TemporaryFolder folder;
    testsupport::TemporaryFolder::write(folder / "veltrane.1", page);
    EXPECT_EQ(output("groff -man -ww -z " + (folder / "veltrane.1").string()), "");
    EXPECT_THAT(CommandLine::usage(), HasSubstr("  veltrane config add KEY NAME     adds an application to "));
}

}  // namespace
}  // namespace veltrane
