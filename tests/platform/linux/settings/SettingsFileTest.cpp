#include "SettingsFolder.h"
#include "UserDefaultsContract.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <thread>

namespace veltrane::linuxbackend {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::NanSensitiveFloatEq;
using ::testing::SizeIs;
using ::testing::StartsWith;

TEST(SettingsFileRoundTrip, EveryKindIsWrittenInItsOwnJsonTypeAndReadBack)
{
    SettingsFolder folder;
    auto settings = folder.open();
    settings->setFloat("quickPressTimeout", 0.1f);
    settings->setInteger("physicalKeycode", -57);
    settings->setInteger("keyRemap", 2);
    settings->setBool("launchOnLogin", true);
    settings->setString("lastVersion", "1.2 \"beta\" caf\u00e9");

    EXPECT_EQ(folder.read(), "{\n"
                             "    \"lastVersion\": \"1.2 \\\"beta\\\" caf\u00e9\",\n"
                             "    \"launchOnLogin\": true,\n"
                             "    \"keyRemap\": false,\n"
                             "    \"physicalKeycode\": -57,\n"
                             "    \"quickPressTimeout\": 0.1\n"
                             "}\n");
    // The defaults contract reads the other kinds back; an optional boolean's false is the file's.
    EXPECT_EQ(folder.open()->integerForKey("keyRemap"), 2);
    EXPECT_THAT(folder.reports, IsEmpty());
}

TEST(SettingsFileRoundTrip, AnOptionalBooleanIsTrueFalseOrAbsent)
{
    SettingsFolder folder;
    auto settings = folder.open();
    settings->setInteger("keyRemap", 1);
    EXPECT_EQ(folder.read(), "{\n    \"keyRemap\": true\n}\n");
    EXPECT_EQ(folder.open()->integerForKey("keyRemap"), 1);

    for (const std::int64_t unset : {0, 7}) {
        settings->setInteger("keyRemap", 1);
        settings->setInteger("keyRemap", unset);
        EXPECT_EQ(settings->integerForKey("keyRemap"), 0);
        EXPECT_EQ(folder.read(), "{}\n");
    }

    folder.write(R"({"keyRemap": null})");
    EXPECT_EQ(folder.open()->integerForKey("keyRemap"), 0);
    EXPECT_THAT(folder.reports, IsEmpty());
}

TEST(SettingsFileRoundTrip, FloatsJsonCannotHoldAreWrittenByName)
{
    SettingsFolder folder;
    auto settings = folder.open();
    constexpr auto infinity = std::numeric_limits<float>::infinity();
    const std::pair<float, std::string> named[] = {
        {std::nanf(""), "nan"}, {infinity, "inf"}, {-infinity, "-inf"}};
    for (const auto& [value, name] : named) {
        settings->setFloat("quickPressTimeout", value);
        EXPECT_EQ(folder.read(), "{\n    \"quickPressTimeout\": \"" + name + "\"\n}\n");
        EXPECT_THAT(folder.open()->floatForKey("quickPressTimeout"), NanSensitiveFloatEq(value));
    }
}

TEST(SettingsFileProblems, AreReportedWhereTheyAreAndTheFileIsNeverOverwritten)
{
    const std::pair<std::string, std::string> cases[] = {
        {"{\n    \"launchOnLogin\": true,\n    \"physicalKeycode\": 57\n    \"keyRemap\": true\n}\n",
         ":4:5: expected ',' or '}'"},
        {"{\n    \"launchOnLogin\": true,\n    \"keyRemap\": \"yes\"\n}\n",
         ":3:17: keyRemap must be true or false"},
        // Columns count characters: the é before takes two bytes.
        {"{\n    \"lastVersion\": \"caf\u00e9\", \"physicalKeycode\": 1.5\n}\n",
         ":2:47: physicalKeycode must be an integer"},
        {"{\"quickPressTimeout\": \"fast\"}",
         ":1:23: quickPressTimeout must be a number, \"nan\", \"inf\" or \"-inf\""},
        {"{\n  \"lastVersion\": \"1.2\n}",
         ":2:22: line break or control character inside a string: is its closing \" missing?"},
        {"{\"keyRemap\": true,\n \"keyRemap\": false}", ":2:2: keyRemap is written more than once"},
        // A Latin-1 é: written back, it would become a replacement character.
        {"{\"lastVersion\": \"caf\xe9\"}",
         ":1:21: text that is not UTF-8 inside a string: the file must be saved as UTF-8"},
        {"[true]", ":1:1: the settings must be one JSON object, written between { and }"},
        {"{\"launchOnLogin\": yes}", ":1:19: expected a value"},
    };
    for (const auto& [text, where] : cases) {
        SettingsFolder folder;
        folder.write(text);
        auto settings = folder.open();
        const auto problem = folder.file().string() + where;

        EXPECT_EQ(settings->problem(), problem);
        ASSERT_THAT(folder.reports, SizeIs(1));
        EXPECT_THAT(folder.reports[0], StartsWith(problem));
        EXPECT_THAT(folder.reports[0], HasSubstr("changes are kept in memory"));

        // The defaults stand in, and writes are kept in memory only.
        EXPECT_FALSE(settings->boolForKey("launchOnLogin"));
        settings->setInteger("physicalKeycode", 41);
        EXPECT_EQ(settings->integerForKey("physicalKeycode"), 41);
        EXPECT_EQ(folder.read(), text);
        EXPECT_THAT(folder.reports, SizeIs(1));
    }
}

TEST(SettingsFileUnknownKeys, AreKeptAsTheyAreAndReportedOnce)
{
    SettingsFolder folder;
    folder.write("{\n"
                 "    \"future\": {\"z\": [1, 2.5, \"x\\u00e9\\ud83d\\ude00\"], \"a\": null},\n"
                 "    \"launchOnLogin\": false,\n"
                 "    \"huge\": 18446744073709551615\n"
                 "}\n");
    auto settings = folder.open();
    const auto path = folder.file().string();
    EXPECT_THAT(folder.reports,
                ElementsAre(path + ":2:5: warning: unknown setting \"future\" is kept as it is",
                            path + ":4:5: warning: unknown setting \"huge\" is kept as it is"));

    settings->setBool("launchOnLogin", true);
    EXPECT_EQ(folder.read(), "{\n"
                             "    \"launchOnLogin\": true,\n"
                             "    \"future\": {\n"
                             "        \"z\": [\n"
                             "            1,\n"
                             "            2.5,\n"
                             "            \"x\u00e9\U0001F600\"\n"
                             "        ],\n"
                             "        \"a\": null\n"
                             "    },\n"
                             "    \"huge\": 18446744073709551615\n"
                             "}\n");
    settings->reload();
    EXPECT_THAT(folder.reports, SizeIs(2));
}

// Another program wrote the file, and made it private, since this one read it.
TEST(SettingsFileWrites, ReplaceTheFileAtOnceKeepingItsPermissionsAndWhatOthersWroteSinceItWasRead)
{
    SettingsFolder folder;
    auto settings = folder.open();
    folder.write(R"({"physicalKeycode": 41})");
    constexpr auto userOnly = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    std::filesystem::permissions(folder.file(), userOnly);
    settings->setBool("launchOnLogin", true);

    const std::filesystem::directory_iterator entries(folder.folder());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
    EXPECT_EQ(std::filesystem::status(folder.file()).permissions(), userOnly);
    EXPECT_EQ(folder.read(), "{\n    \"launchOnLogin\": true,\n    \"physicalKeycode\": 41\n}\n");
}

// A file not there yet, its folders neither, holds no settings and is no problem; an empty one neither.
TEST(SettingsFileWrites, ToAFileNotThereYetCreateItsFolders)
{
    SettingsFolder folder;
    const auto path = folder.folder() / "config" / "veltrane" / "settings.json";
    SettingsFile missing(path, SettingsFolder::schema(), nullptr);
    EXPECT_EQ(missing.problem(), std::nullopt);
    missing.setBool("launchOnLogin", true);
    EXPECT_TRUE(SettingsFile(path, SettingsFolder::schema(), nullptr).boolForKey("launchOnLogin"));
    folder.write(" \n");
    EXPECT_EQ(folder.open()->problem(), std::nullopt);
    EXPECT_THAT(folder.reports, IsEmpty());
}

TEST(SettingsFileWrites, FromSeveralThreadsAllReachTheFile)
{
    SettingsFolder folder;
    auto settings = folder.open();
    std::vector<std::thread> writers;
    const std::string keys[] = {"lastVersion", "launchOnLogin", "keyRemap", "physicalKeycode"};
    for (const auto& key : keys) {
        writers.emplace_back([&settings, &key] {
            for (int i = 1; i <= 10; ++i) {
                settings->setString(key, std::to_string(i));
            }
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    const auto later = folder.open();
    EXPECT_EQ(later->stringForKey("lastVersion"), "10");
    EXPECT_TRUE(later->boolForKey("launchOnLogin"));
    EXPECT_EQ(later->integerForKey("physicalKeycode"), 10);
    EXPECT_EQ(later->integerForKey("keyRemap"), 0);
}

TEST(SettingsFileReload, TellsTheKeysWhoseValuesChanged)
{
    SettingsFolder folder;
    folder.write(
        R"({"launchOnLogin": true, "physicalKeycode": 57, "quickPressTimeout": "nan", "lastVersion": "1"})");
    auto settings = folder.open();

    folder.write(
        R"({"launchOnLogin": true, "physicalKeycode": 41, "quickPressTimeout": "nan", "keyRemap": false})");
    EXPECT_THAT(settings->reload(), ElementsAre("keyRemap", "lastVersion", "physicalKeycode"));
    EXPECT_EQ(settings->integerForKey("physicalKeycode"), 41);
    EXPECT_THAT(settings->reload(), IsEmpty());
    settings->setFloat("quickPressTimeout", 0.3f);
    EXPECT_THAT(settings->reload(), IsEmpty());

    // A file that cannot be used, as an editor's half-written save, changes nothing until it is mended.
    auto mended = folder.read();
    mended.replace(mended.find("41"), 2, "57");
    folder.write("{\"launchOnLogin\": tru}");
    EXPECT_THAT(settings->reload(), IsEmpty());
    EXPECT_NE(settings->problem(), std::nullopt);
    EXPECT_TRUE(settings->boolForKey("launchOnLogin"));
    folder.write(mended);
    EXPECT_THAT(settings->reload(), ElementsAre("physicalKeycode"));
    EXPECT_EQ(settings->problem(), std::nullopt);
}

TEST(SettingsFilePath, IsInTheUsersConfigurationFolder)
{
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* configuration = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = configuration ? configuration : "";

    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "/elsewhere", 1);
    EXPECT_EQ(SettingsFile::defaultPath(), "/elsewhere/veltrane/settings.json");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(SettingsFile::defaultPath(), "/home/someone/.config/veltrane/settings.json");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsFile::defaultPath(), "/home/someone/.config/veltrane/settings.json");

    ::setenv("HOME", home.c_str(), 1);
    if (configuration) {
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    }
}

}  // namespace
}  // namespace veltrane::linuxbackend

namespace veltrane::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(SettingsFile, UserDefaultsContract, linuxbackend::SettingsFolder);
}  // namespace veltrane::contracts
