#include "CommandLine.h"
#include "Completions.h"
#include "ManualPage.h"
#include "SettingsReload.h"
#include "TemporaryFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

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

// The words a shell's completion script offers after the line (the last word being completed), sorted,
// as the shell itself runs it when a person presses tab.
std::string offered(const std::string& shell, const std::filesystem::path& script, const std::string& line)
{
    const std::map<std::string, std::string> commands = {
        {"bash",
         "bash -c 'source " + script.string() + "; COMP_WORDS=(" + line +
             "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _veltrane; printf \"%s\\n\" \"${COMPREPLY[@]}\"'"},
        // Completion itself needs a terminal: compadd, which takes the words offered, prints them instead.
        {"zsh", "zsh -c 'compadd() { print -l -- ${(P)2} }; words=(" + line +
                    "); CURRENT=${#words}; source " + script.string() + "'"},
        {"fish", "fish -c 'source " + script.string() + "; complete -C \"" + line + "\"'"}};
    std::istringstream words(output(commands.at(shell)));
    std::vector<std::string> sorted{std::istream_iterator<std::string>(words), {}};
    std::ranges::sort(sorted);
    std::string text;
    for (const auto& word : sorted) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

TEST(CommandLineTest, EachShellCompletesTheCommandsTheSettingsAndWhatEachTakes)
{
    const testsupport::TemporaryFolder folder;
    const Completions completions(SettingsReload::schema());
    const std::map<std::string, std::string> scripts = {
        {"bash", completions.bash()}, {"zsh", completions.zsh()}, {"fish", completions.fish()}};
    for (const auto& [shell, script] : scripts) {
        testsupport::TemporaryFolder::write(folder / shell, script);
    }
    // zsh leaves the choice among the words offered to the shell: its lines end with the word to come.
    const std::pair<std::string, std::string> everywhere[] = {
        {"veltrane ", "--headless --help --version config devices status"},
        {"veltrane config add ", "disabledApps enabledApps"},
        {"veltrane config set keyRemap ", "false true"},
        {"veltrane devices ", ""},
    };
    for (const auto& [shell, script] : scripts) {
        for (const auto& [line, words] : everywhere) {
            const auto quoted = shell == "fish" ? line : line + "\"\"";
            EXPECT_EQ(offered(shell, folder / shell, quoted), words) << shell << ": " << line;
        }
    }
    const std::pair<std::string, std::string> prefixes[] = {
        {"veltrane config de", "describe"},
        {"veltrane config get quickP", "quickPressTimeout"},
        {"veltrane config set quickHyperKeycode esc", "escape"},
        {"veltrane config set capsLockKeycode no", "none"},
    };
    for (const auto& [line, words] : prefixes) {
        EXPECT_EQ(offered("bash", folder / "bash", line), words) << line;
        EXPECT_EQ(offered("fish", folder / "fish", line), words) << line;
    }
}

// A new setting without a meaning would show as a bare key in describe, the manual and the list.
TEST(CommandLineTest, TheManualPageSaysWhatEachCommandAndSettingMeansAndGroffReadsItWithoutAWarning)
{
    const auto schema = SettingsReload::schema();
    for (const auto& setting : schema.settings()) {
        EXPECT_FALSE(setting.help.meaning.empty()) << setting.key;
    }
    const auto page = ManualPage::roff(schema, "1.0");
    EXPECT_THAT(page, HasSubstr(".B veltrane config describe KEY\nwhat a setting means"));
    EXPECT_THAT(page,
                HasSubstr(".B quickHyperKeycode\nthe key a quick press of the hyper key sends.\nTakes the "
                          "name of a key (such as escape, capslock or f13), none or its number; default: "
                          "none.\n"));
    const testsupport::TemporaryFolder folder;
    testsupport::TemporaryFolder::write(folder / "veltrane.1", page);
    EXPECT_EQ(output("groff -man -ww -z " + (folder / "veltrane.1").string()), "");
    EXPECT_THAT(CommandLine::usage(),
                HasSubstr("  veltrane config add KEY NAME     adds an application to "));
}

}  // namespace
}  // namespace veltrane
