#include "logging/FileDestination.h"
#include "TemporaryFolder.h"
#include "logging/BundleInfo.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace logging {
namespace {

using testing::TemporaryFolder;
namespace fs = std::filesystem;

std::string url(const fs::path& path)
{
    std::string text = "file://";
    text += path.string();
    return text;
}

class FileDestinationTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    fs::path log = folder / "App.log";
};

class RotationTest : public FileDestinationTest {
protected:
    RotationTest()
    {
        destination.logFileAmount = 3;
        destination.logFileMaxSize = 100;
    }

    FileDestination destination{log};
};

TEST_F(RotationTest, FileBeyondTheLimitBecomesTheNewestArchiveAndTheOldestIsDeleted)
{
    for (const char* content : {"first", "second", "third"}) {
        TemporaryFolder::write(log, std::string(101, *content));
        destination.saveToFile(content);
    }
    EXPECT_EQ(TemporaryFolder::read(log), "third\n");
    EXPECT_EQ(TemporaryFolder::read(folder / "App.log.1"), std::string(101, 't'));
    EXPECT_EQ(TemporaryFolder::read(folder / "App.log.2"), std::string(101, 's'));
    EXPECT_FALSE(fs::exists(folder / "App.log.3"));
}

TEST_F(RotationTest, FileOfExactlyTheLimitIsNotRotated)
{
    TemporaryFolder::write(log, std::string(100, 'a'));
    destination.saveToFile("b");
    EXPECT_EQ(TemporaryFolder::read(log), std::string(100, 'a') + "b\n");
    EXPECT_FALSE(fs::exists(folder / "App.log.1"));
}

TEST_F(RotationTest, FailedRotationIsReportedAndTheLineStillWritten)
{
    TemporaryFolder::write(log, std::string(101, 'a'));
    TemporaryFolder::write(folder / "App.log.1", "older");
    fs::create_directories(folder / "App.log.2" / "in the way");
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(destination.saveToFile("next"));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "rotateFile error: Directory not empty\n");
    EXPECT_EQ(TemporaryFolder::read(log), std::string(101, 'a') + "next\n");
    EXPECT_EQ(TemporaryFolder::read(folder / "App.log.1"), "older");
}

TEST_F(FileDestinationTest, SingleFileGrowsWithoutLimit)
{
    FileDestination destination(log);
    destination.logFileMaxSize = 10;
    TemporaryFolder::write(log, std::string(50, 'a'));
    destination.saveToFile("more");
    EXPECT_EQ(fs::file_size(log), 55U);
    EXPECT_FALSE(fs::exists(folder / "App.log.1"));
}

TEST_F(FileDestinationTest, MissingFolderIsCreatedAndEachLineEndsWithOneNewline)
{
    const auto nested = folder / "a" / "b" / "App.log";
    FileDestination destination(nested);
    destination.format = "$M";
    destination.syncAfterEachWrite = true;
    destination.emit(Level::info, "first  \n", "", "f", "g()", 1, {});
    destination.emit(Level::info, "second", "", "f", "g()", 2, {});
    EXPECT_EQ(TemporaryFolder::read(nested), "first\nsecond\n");
}

TEST_F(FileDestinationTest, ColouredLinesWrapTheLevelInTerminalCodes)
{
    FileDestination destination(log);
    destination.setColored(true);
    destination.emit(Level::info, "m", "", "f", "g()", 1, {});
    EXPECT_NE(TemporaryFolder::read(log).find("\x1B[38;5;38mINFO\x1B[0m"), std::string::npos);
    destination.setColored(false);
    destination.format = "$C$L$c";
    destination.emit(Level::info, "m", "", "f", "g()", 1, {});
    EXPECT_NE(TemporaryFolder::read(log).find("\nINFO\n"), std::string::npos);
}

TEST_F(FileDestinationTest, UnwritableLocationsCostOnlyTheirLine)
{
    fs::create_directories(log);
    TemporaryFolder::write(folder / "file", "");
    FileDestination destination(log);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(destination.saveToFile("lost"));
    EXPECT_FALSE(destination.writeToFile("lost\n", folder / "file" / "App.log"));
    EXPECT_FALSE(destination.writeToFile("lost\n", "/dev/full"));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Logging File Destination could not write to file " + url(log) + ".\n" +
                  "Logging File Destination could not write to file " + url(folder / "file" / "App.log") +
                  ".\nLogging File Destination could not write to file file:///dev/full.\n");

    fs::remove(log);
    EXPECT_TRUE(destination.saveToFile("back"));
    EXPECT_EQ(TemporaryFolder::read(log), "back\n");
}

TEST_F(FileDestinationTest, LocationIsReportedAsAnEncodedUrl)
{
    FileDestination destination(folder / "a dir" / "100%.log");
    fs::create_directories(folder / "a dir" / "100%.log");
    ::testing::internal::CaptureStdout();
    destination.saveToFile("x");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Logging File Destination could not write to file " +
                                                            url(folder.path()) + "/a%20dir/100%25.log.\n");
}

// Root may write anywhere, so the refused write runs in a child that gave up root.
TEST_F(FileDestinationTest, PermissionDeniedIsReported)
{
    const auto locked = folder / "locked";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    FileDestination destination(locked / "App.log");
    const auto output = folder / "output";
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen(output.c_str(), "w", stdout);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            std::_Exit(2);
        }
        std::_Exit(destination.saveToFile("refused") ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(TemporaryFolder::read(output),
              "Logging File Destination could not write to file " + url(locked / "App.log") + ".\n");
}

TEST_F(FileDestinationTest, DeletingTheLogFile)
{
    FileDestination destination(log);
    EXPECT_TRUE(destination.deleteLogFile());
    TemporaryFolder::write(log, "old");
    EXPECT_TRUE(destination.deleteLogFile());
    EXPECT_FALSE(fs::exists(log));
    fs::create_directories(log / "full");
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(destination.deleteLogFile());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Logging File Destination could not remove file " + url(log) + ".\n");
}

class DefaultLocationTest : public FileDestinationTest {
protected:
    DefaultLocationTest() { ::setenv("XDG_CACHE_HOME", folder.path().c_str(), 1); }
    ~DefaultLocationTest() override
    {
        ::unsetenv("XDG_CACHE_HOME");
        BundleInfo::restoreForTesting();
    }
};

TEST_F(DefaultLocationTest, LogFileIsInAFolderNamedAfterTheExecutable)
{
    EXPECT_EQ(FileDestination().logFileURL, folder / "Veltrane" / "Logging.log");
    EXPECT_TRUE(fs::is_directory(folder / "Veltrane"));
}

TEST_F(DefaultLocationTest, WithoutAnExecutableNameTheLogFileIsInTheCachesFolder)
{
    BundleInfo::overrideForTesting("CFBundleExecutable", std::nullopt);
    EXPECT_EQ(FileDestination().logFileURL, folder / "Logging.log");
}

TEST_F(DefaultLocationTest, FolderThatCannotBeMadeIsReportedAndTheCachesFolderUsed)
{
    TemporaryFolder::write(folder / "Veltrane", "a file in the way");
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(FileDestination().logFileURL, folder / "Logging.log");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Warning! Could not create folder /Library/Caches/Veltrane\n");
}

}  // namespace
}  // namespace logging
