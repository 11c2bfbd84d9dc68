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

using veltrane::testsupport::TemporaryFolder;
namespace fs = std::filesystem;

// What a failed write prints: the location as a file URL.
std::string cannotWrite(const fs::path& location)
{
    return "Logging File Destination could not write to file file://" + location.string() + ".\n";
}

// The folder is also the user's caches, where a destination without a location puts its file.
class FileDestinationTest : public ::testing::Test {
protected:
    FileDestinationTest() { ::setenv("XDG_CACHE_HOME", folder.path().c_str(), 1); }
    ~FileDestinationTest() override
    {
        ::unsetenv("XDG_CACHE_HOME");
        BundleInfo::restoreForTesting();
    }

    TemporaryFolder folder;
    fs::path log = folder / "App.log";
};

// A file of exactly the limit grows on; beyond it, it becomes the newest archive and the oldest archive
// is deleted. With a single file there is no limit.
TEST_F(FileDestinationTest, FileBeyondTheLimitBecomesTheNewestArchiveAndTheOldestIsDeleted)
{
    FileDestination destination(log);
    destination.logFileAmount = 3;
    destination.logFileMaxSize = 100;
    TemporaryFolder::write(log, std::string(100, 'a'));
    destination.saveToFile("b");
    EXPECT_EQ(TemporaryFolder::read(log), std::string(100, 'a') + "b\n");
    EXPECT_FALSE(fs::exists(folder / "App.log.1"));
    for (const char* content : {"first", "second", "third"}) {
        TemporaryFolder::write(log, std::string(101, *content));
        destination.saveToFile(content);
    }
    EXPECT_EQ(TemporaryFolder::read(log), "third\n");
    EXPECT_EQ(TemporaryFolder::read(folder / "App.log.1"), std::string(101, 't'));
    EXPECT_EQ(TemporaryFolder::read(folder / "App.log.2"), std::string(101, 's'));
    EXPECT_FALSE(fs::exists(folder / "App.log.3"));

    destination.logFileAmount = 1;
    TemporaryFolder::write(log, std::string(150, 'a'));
    destination.saveToFile("more");
    EXPECT_EQ(fs::file_size(log), 155U);
    EXPECT_EQ(TemporaryFolder::read(folder / "App.log.1"), std::string(101, 't'));
}

TEST_F(FileDestinationTest, FailedRotationIsReportedAndTheLineStillWritten)
{
    FileDestination destination(log);
    destination.logFileAmount = 3;
    destination.logFileMaxSize = 100;
    TemporaryFolder::write(log, std::string(101, 'a'));
    TemporaryFolder::write(folder / "App.log.1", "older");
    fs::create_directories(folder / "App.log.2" / "in the way");
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(destination.saveToFile("next"));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "rotateFile error: Directory not empty\n");
    EXPECT_EQ(TemporaryFolder::read(log), std::string(101, 'a') + "next\n");
    EXPECT_EQ(TemporaryFolder::read(folder / "App.log.1"), "older");
}

// A failed JSON form writes nothing, not even the folders; other lines make the missing folders, end
// with exactly one newline, and wrap the level in terminal codes while coloured.
TEST_F(FileDestinationTest, MissingFolderIsCreatedAndEachLineEndsWithOneNewline)
{
    const auto nested = folder / "a" / "b" / "App.log";
    FileDestination destination(nested);
    destination.format = "$J";
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(destination.emit(Level::info, "bad \xFF byte", "", "f", "g()", 1, {}));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Logging could not create JSON from dict.\n");
    EXPECT_FALSE(fs::exists(folder / "a"));
    destination.format = "$M";
    destination.syncAfterEachWrite = true;
    destination.emit(Level::info, "first  \n", "", "f", "g()", 1, {});
    destination.emit(Level::info, "second", "", "f", "g()", 2, {});
    destination.format = "$C$L$c";
    destination.setColored(true);
    destination.emit(Level::info, "m", "", "f", "g()", 3, {});
    destination.setColored(false);
    destination.emit(Level::info, "m", "", "f", "g()", 4, {});
    EXPECT_EQ(TemporaryFolder::read(nested), "first\nsecond\n\x1B[38;5;38mINFO\x1B[0m\nINFO\n");
}

// Each failure is reported with the location as an encoded URL, and the next line is written once the
// location is free again.
TEST_F(FileDestinationTest, UnwritableLocationsCostOnlyTheirLine)
{
    fs::create_directories(log);
    fs::create_directories(folder / "a dir" / "100%.log");
    TemporaryFolder::write(folder / "file", "");
    FileDestination destination(log);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(destination.saveToFile("lost"));
    EXPECT_FALSE(destination.writeToFile("lost\n", folder / "file" / "App.log"));
    EXPECT_FALSE(destination.writeToFile("lost\n", "/dev/full"));
    EXPECT_FALSE(destination.writeToFile("lost\n", folder / "a dir" / "100%.log"));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              cannotWrite(log) + cannotWrite(folder / "file" / "App.log") + cannotWrite("/dev/full") +
                  cannotWrite(folder / "a%20dir" / "100%25.log"));

    fs::remove(log);
    EXPECT_TRUE(destination.saveToFile("back"));
    EXPECT_EQ(TemporaryFolder::read(log), "back\n");
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
    EXPECT_EQ(TemporaryFolder::read(output), cannotWrite(locked / "App.log"));
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
              "Logging File Destination could not remove file file://" + log.string() + ".\n");
}

// Without a location the file is "Logging.log" in a folder named after the executable in the caches;
// when that folder cannot be made (reported) or there is no executable name, in the caches themselves.
TEST_F(FileDestinationTest, LogFileIsInAFolderNamedAfterTheExecutable)
{
    EXPECT_EQ(FileDestination().logFileURL, folder / "Veltrane" / "Logging.log");
    EXPECT_TRUE(fs::is_directory(folder / "Veltrane"));
    fs::remove(folder / "Veltrane");
    TemporaryFolder::write(folder / "Veltrane", "a file in the way");
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(FileDestination().logFileURL, folder / "Logging.log");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Warning! Could not create folder /Library/Caches/Veltrane\n");
    BundleInfo::overrideForTesting("CFBundleExecutable", std::nullopt);
    EXPECT_EQ(FileDestination().logFileURL, folder / "Logging.log");
}

}  // namespace
}  // namespace logging
