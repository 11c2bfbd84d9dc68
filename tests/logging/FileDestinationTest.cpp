#include "logging/FileDestination.h"
#include "TemporaryFolder.h"
#include "logging/BundleInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace logging {
namespace {

using veltrane::testsupport::TemporaryFolder;
namespace fs = std::filesystem;

// What a failed write or removal prints: the location as a file URL.
std::string couldNot(const std::string& what, const fs::path& location)
{
    return "Logging File Destination could not " + what + " file file://" + location.string() + ".\n";
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
// is deleted. A rotation that fails is reported and the line still written. With a single file there is
// no limit.
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

    fs::remove(folder / "App.log.2");
    fs::create_directories(folder / "App.log.2" / "in the way");
    TemporaryFolder::write(log, std::string(101, 'a'));
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(destination.saveToFile("next"));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "rotateFile error: Directory not empty\n");
    EXPECT_EQ(TemporaryFolder::read(log), std::string(101, 'a') + "next\n");
    EXPECT_EQ(TemporaryFolder::read(folder / "App.log.1"), std::string(101, 't'));

    destination.logFileAmount = 1;
    TemporaryFolder::write(log, std::string(150, 'a'));
    destination.saveToFile("more");
    EXPECT_EQ(fs::file_size(log), 155U);
    EXPECT_EQ(TemporaryFolder::read(folder / "App.log.1"), std::string(101, 't'));
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

// Each failure to write or to delete is reported with the location as an encoded URL; the next line is
// written once the location is free again. A file that is not there counts as deleted.
TEST_F(FileDestinationTest, UnwritableLocationsCostOnlyTheirLine)
{
    fs::create_directories(log / "full");
    fs::create_directories(folder / "a dir" / "100%.log");
    TemporaryFolder::write(folder / "file", "");
    FileDestination destination(log);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(destination.saveToFile("lost"));
    EXPECT_FALSE(destination.deleteLogFile());
    EXPECT_FALSE(destination.writeToFile("lost\n", folder / "file" / "App.log"));
    EXPECT_FALSE(destination.writeToFile("lost\n", "/dev/full"));
    EXPECT_FALSE(destination.writeToFile("lost\n", folder / "a dir" / "100%.log"));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              couldNot("write to", log) + couldNot("remove", log) +
                  couldNot("write to", folder / "file" / "App.log") + couldNot("write to", "/dev/full") +
                  couldNot("write to", folder / "a%20dir" / "100%25.log"));

    fs::remove_all(log);
    EXPECT_TRUE(destination.deleteLogFile());
    EXPECT_TRUE(destination.saveToFile("back"));
    EXPECT_EQ(TemporaryFolder::read(log), "back\n");
    EXPECT_TRUE(destination.deleteLogFile());
    EXPECT_FALSE(fs::exists(log));
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
