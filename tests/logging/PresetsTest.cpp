#include "Fakes.h"
#include "TemporaryFolder.h"
#include "logging/BundleInfo.h"
#include "logging/ConsoleDestination.h"
#include "logging/Log.h"
#include "logging/WindowDestination.h"

#include <gtest/gtest.h>
#include <unicode/timezone.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace logging {
namespace {

using testing::FakeLogWindow;
using testing::FakeSystemLog;
using testing::TemporaryFolder;
using veltrane::platform::SystemLogLevel;
namespace fs = std::filesystem;

class PresetsTest : public ::testing::Test {
protected:
    PresetsTest()
    {
        ::setenv("XDG_DATA_HOME", folder.path().c_str(), 1);
        Logging::setLogWindowFactory([this] { return window; });
        Logging::setSystemLog(&systemLog);
    }
    ~PresetsTest() override
    {
        Logging::unregisterAll();
        Logging::setLogWindowFactory({});
        Logging::setSystemLog(nullptr);
        BundleInfo::restoreForTesting();
        ::unsetenv("XDG_DATA_HOME");
    }

    // The file's text once every destination has written what it was given.
    static std::string written(const fs::path& file)
    {
        Logging::flush();
        return TemporaryFolder::read(file);
    }

    TemporaryFolder folder;
    fs::path appLog = folder / "Veltrane" / "Veltrane.log";
    std::shared_ptr<FakeLogWindow> window = std::make_shared<FakeLogWindow>();
    FakeSystemLog systemLog;
};

TEST_F(PresetsTest, MainApplicationWithoutFileGetsOnlyTheWindow)
{
    Logging::zorvDefaults(false, std::nullopt);
    EXPECT_EQ(Logging::destinationCount(), 1U);
    Logging::zorvDefaults(false, Level::info);
    EXPECT_EQ(Logging::destinationCount(), 1U);
    EXPECT_FALSE(fs::exists(appLog));
}

TEST_F(PresetsTest, FileStartsAtDebugWhileTheWindowKeepsVerbose)
{
    Logging::zorvDefaults(true, std::nullopt);
    Logging::zorvDefaults(true, std::nullopt);
    EXPECT_EQ(Logging::destinationCount(), 2U);
    Logging::showLogWindows();
    LOGGING_VERBOSE("verbose line");
    LOGGING_DEBUG("debug line");
    const auto file = written(appLog);
    EXPECT_NE(file.find("INFO Logging.zorvDefaults():198 - build 0.1.0\n"), std::string::npos) << file;
    EXPECT_EQ(file.find("verbose line"), std::string::npos);
    EXPECT_NE(file.find("debug line"), std::string::npos);
    EXPECT_NE(window->text().find("verbose line\n"), std::string::npos);
}

TEST_F(PresetsTest, GivenLevelAppliesToEveryDestinationAndEachRunStartsANewFile)
{
    fs::create_directories(appLog.parent_path());
    TemporaryFolder::write(appLog, "previous run\n");
    Logging::zorvDefaults(true, Level::info);
    Logging::showLogWindows();
    LOGGING_DEBUG("debug line");
    LOGGING_INFO("info line");
    const auto file = written(appLog);
    EXPECT_EQ(file.find("previous run"), std::string::npos);
    EXPECT_EQ(file.find("debug line"), std::string::npos);
    EXPECT_NE(file.find("info line"), std::string::npos);
    EXPECT_EQ(window->text().find("debug line"), std::string::npos);
    EXPECT_NE(window->text().find("info line"), std::string::npos);
}

TEST_F(PresetsTest, MissingBundleKeysLeaveOutTheBuildLineOrTheFile)
{
    BundleInfo::overrideForTesting("CFBundleVersion", std::nullopt);
    BundleInfo::overrideForTesting("CFBundleDisplayName", std::nullopt);
    BundleInfo::overrideForTesting("CFBundleName", "Other");
    Logging::zorvDefaults(true, std::nullopt);
    LOGGING_INFO("first");
    EXPECT_EQ(written(folder / "Other" / "Other.log").find("build"), std::string::npos);

    BundleInfo::overrideForTesting("CFBundleName", std::nullopt);
    Logging::zorvDefaults(true, std::nullopt);
    EXPECT_EQ(Logging::destinationCount(), 1U);
}

TEST_F(PresetsTest, SupportFolderFollowsTheXdgDataHome)
{
    EXPECT_EQ(Logging::supportDirectory(), folder.path());
    ::setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(Logging::supportDirectory(), fs::path(home) / ".local" / "share");
}

TEST_F(PresetsTest, RemovingFileDestinationsKeepsTheWindow)
{
    Logging::zorvDefaults(true, std::nullopt);
    Logging::removeFileDestinations();
    EXPECT_EQ(Logging::destinationCount(), 1U);
    Logging::addDefaultFileDestination(Level::warning);
    LOGGING_INFO("info line");
    LOGGING_WARNING("warning line");
    const auto file = written(appLog);
    EXPECT_EQ(file.find("info line"), std::string::npos);
    EXPECT_NE(file.find("warning line"), std::string::npos);
}

TEST_F(PresetsTest, HelperWritesToTheUnifiedLogUnderTheMainApplicationsName)
{
    Logging::zorvDefaults(false, std::nullopt);
    Logging::zorvHelperDefaults(true, "com.marrowind.Veltrane", "Veltrane");
    EXPECT_EQ(Logging::destinationCount(), 3U);
    LOGGING_ERROR("helper failed");
    const auto file = written(folder / "Veltrane" / "VeltraneHelper.log");
    EXPECT_NE(file.find("build 0.1.0"), std::string::npos);
    EXPECT_NE(file.find("helper failed"), std::string::npos);
    const auto entries = systemLog.entries();
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[0].first, SystemLogLevel::info);
    EXPECT_TRUE(entries[0].second.starts_with("com-marrowind-Veltrane ")) << entries[0].second;
    EXPECT_TRUE(entries[0].second.ends_with("Logging.zorvHelperDefaults():242 - build 0.1.0"))
        << entries[0].second;
    EXPECT_EQ(entries[1].first, SystemLogLevel::error);
}

class ConsoleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("UTC")); }

    ConsoleTest()
    {
        console.timeSource = [] {
            using namespace std::chrono_literals;
            return std::chrono::sys_days{std::chrono::year{2024} / 3 / 10} + 14h + 3min + 7s + 123ms;
        };
    }

    std::optional<std::string> emit(Level level, const std::string& message = "failed")
    {
        return console.emit(level, message, "", "/src/App.cpp", "run()", 7, {});
    }

    FakeSystemLog systemLog;
    ConsoleDestination console{&systemLog};
};

TEST_F(ConsoleTest, StandardOutputGetsTheLineWithASquareBeforeTheLevelOrTerminalColoursWhileOn)
{
    ::testing::internal::CaptureStdout();
    emit(Level::error);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "14:03:07.123 🟥 ERROR App.run():7 - failed\n");
    console.setUseTerminalColors(true);
    EXPECT_EQ(emit(Level::warning), "14:03:07.123 \x1B[38;5;178mWARNING\x1B[0m App.run():7 - failed");
    console.setUseTerminalColors(false);
    EXPECT_EQ(emit(Level::warning), "14:03:07.123 🟨 WARNING App.run():7 - failed");
}

TEST_F(ConsoleTest, UnifiedLogTakesPrecedenceAndGetsTheLevelsType)
{
    console.useMacConsole = true;
    console.useNSLog = true;
    console.setBundleId("org.example.Tool");
    console.format = "$M";
    ::testing::internal::CaptureStdout();
    for (const auto level : {Level::verbose, Level::debug, Level::info, Level::warning, Level::error}) {
        emit(level, "m");
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    const std::vector<std::pair<SystemLogLevel, std::string>> expected = {
        {SystemLogLevel::debug, "org-example-Tool m"},
        {SystemLogLevel::debug, "org-example-Tool m"},
        {SystemLogLevel::info, "org-example-Tool m"},
        {SystemLogLevel::info, "org-example-Tool m"},
        {SystemLogLevel::error, "org-example-Tool m"}};
    EXPECT_EQ(systemLog.entries(), expected);
}

TEST_F(ConsoleTest, LegacyConsoleLinesGoNeitherToStandardOutputNorTheUnifiedLog)
{
    console.useNSLog = true;
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(emit(Level::info));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(systemLog.entries().empty());
}

TEST_F(ConsoleTest, WithoutAUnifiedLogTheLineGoesToStandardOutput)
{
    ConsoleDestination withoutLog(nullptr);
    withoutLog.useMacConsole = true;
    withoutLog.format = "$M";
    EXPECT_EQ(withoutLog.loggableBundleId, "com-marrowind-Veltrane ");
    ::testing::internal::CaptureStdout();
    withoutLog.emit(Level::info, "kept", "", "f", "g()", 1, {});
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "kept\n");
}

class WindowTest : public ::testing::Test {
protected:
    ~WindowTest() override
    {
        Logging::unregisterAll();
        Logging::setLogWindowFactory({});
    }

    std::shared_ptr<WindowDestination> destination = [] {
        auto window = std::make_shared<WindowDestination>();
        window->format = "$M";
        window->asynchronously = false;
        Logging::registerDestination(window);
        return window;
    }();
};

TEST_F(WindowTest, LinesAppearOnlyWhileTheWindowIsOpen)
{
    auto window = std::make_shared<FakeLogWindow>();
    int made = 0;
    Logging::showLogWindows();
    LOGGING_INFO("before any window");
    Logging::setLogWindowFactory([&] {
        ++made;
        return window;
    });
    LOGGING_INFO("before the window was shown");
    Logging::showLogWindows();
    LOGGING_INFO("shown");
    window->close();
    LOGGING_INFO("closed");
    Logging::showLogWindows();
    LOGGING_INFO("reopened");
    EXPECT_EQ(window->text(), "reopened\n");
    EXPECT_EQ(made, 1);
    EXPECT_EQ(window->timesShown(), 2);
}

}  // namespace
}  // namespace logging
