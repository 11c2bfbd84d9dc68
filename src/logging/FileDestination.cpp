#include "logging/FileDestination.h"

#include "logging/BundleInfo.h"
#include "logging/Directories.h"
#include "logging/FileUrl.h"
#include "logging/StandardOutput.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace logging {

namespace {

void printWithError(std::string_view prefix, const std::string& description)
{
    std::string line(prefix);
    line += description;
    StandardOutput::printLine(line);
}

void printAboutFile(std::string_view prefix, const std::filesystem::path& location)
{
    std::string line(prefix);
    line += FileUrl::text(location);
    line += '.';
    StandardOutput::printLine(line);
}

void printCouldNotWrite(const std::filesystem::path& location)
{
    printAboutFile("Logging File Destination could not write to file ", location);
}

std::string lastErrorText()
{
    return std::system_category().message(errno);
}

bool fileExists(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

bool writeAll(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const auto written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Archive 1 of /x/App.log is /x/App.log.1.
std::filesystem::path archive(const std::filesystem::path& path, int number)
{
    std::string name = path.string();
    name += '.';
    name += std::to_string(number);
    return name;
}

}  // namespace

FileDestination::FileDestination(std::optional<std::filesystem::path> location)
    : logFileURL(location ? std::move(location) : defaultLocation())
{
}

std::optional<std::filesystem::path> FileDestination::defaultLocation()
{
    const auto caches = Directories::caches();
    if (!caches) {
        return std::nullopt;
    }
    if (const auto executable = BundleInfo::string("CFBundleExecutable")) {
        std::error_code error;
        std::filesystem::create_directories(*caches / *executable, error);
        if (!error) {
            return *caches / *executable / "Logging.log";
        }
        printWithError("Warning! Could not create folder /Library/Caches/", *executable);
    }
    return *caches / "Logging.log";
}

void FileDestination::setColored(bool colored)
{
    colored_ = colored;
    applyTerminalColors(colored, LevelTexts{});
}

std::optional<std::string> FileDestination::emit(Level level, std::string_view message,
                                                 std::string_view thread, std::string_view file,
                                                 std::string_view function, int line, const Context& context)
{
    auto text = BaseDestination::emit(level, message, thread, file, function, line, context);
    if (text) {
        saveToFile(*text);
    }
    return text;
}

bool FileDestination::saveToFile(const std::string& text)
{
    validateSaveFile();
    if (!logFileURL) {
        return false;
    }
    std::string bytes = text;
    bytes += '\n';
    return writeToFile(bytes, *logFileURL);
}

void FileDestination::validateSaveFile()
{
    if (logFileAmount <= 1 || !logFileURL || !fileExists(*logFileURL)) {
        return;
    }
    struct stat attributes {};
    if (::stat(logFileURL->c_str(), &attributes) != 0) {
        printWithError("validateSaveFile error: ", lastErrorText());
        return;
    }
    if (static_cast<std::uintmax_t>(attributes.st_size) > logFileMaxSize) {
        rotateFile(*logFileURL);
    }
}

void FileDestination::rotateFile(const std::filesystem::path& path)
{
    const int last = logFileAmount - 1;
    std::error_code error;
    for (int number = last; number >= 1 && !error; --number) {
        const auto older = archive(path, number);
        if (!fileExists(older)) {
            continue;
        }
        if (number == last) {
            std::filesystem::remove(older, error);
        } else {
            std::filesystem::rename(older, archive(path, number + 1), error);
        }
    }
    if (!error) {
        std::filesystem::rename(path, archive(path, 1), error);
    }
    if (error) {
        printWithError("rotateFile error: ", error.message());
    }
}

// Another process appending to the same file takes the same advisory lock, so lines never interleave.
bool FileDestination::writeToFile(std::string_view bytes, const std::filesystem::path& location)
{
    if (!fileExists(location) && location.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(location.parent_path(), error);
        if (error) {
            printCouldNotWrite(location);
            return false;
        }
    }
    const int descriptor = ::open(location.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        printCouldNotWrite(location);
        return false;
    }
    const bool written = appendLocked(descriptor, bytes, location);
    const bool closed = ::close(descriptor) == 0;
    if (written && !closed) {
        printCouldNotWrite(location);
    }
    return written && closed;
}

bool FileDestination::appendLocked(int descriptor, std::string_view bytes,
                                   const std::filesystem::path& location) const
{
    if (::flock(descriptor, LOCK_EX) != 0) {
        printWithError("Failed writing file with error: ", lastErrorText());
        return false;
    }
    struct stat before {};
    const bool sized = ::fstat(descriptor, &before) == 0;
    // A device that cannot be synchronised (EINVAL) has nothing to lose by it.
    const bool written =
        writeAll(descriptor, bytes) && (!syncAfterEachWrite || ::fsync(descriptor) == 0 || errno == EINVAL);
    if (!written) {
        // A full disk takes part of a line: the part goes, or the next line written would run on from it.
        while (sized && S_ISREG(before.st_mode) && ::ftruncate(descriptor, before.st_size) != 0 &&
               errno == EINTR) {
        }
        printCouldNotWrite(location);
    }
    return written;
}

bool FileDestination::deleteLogFile()
{
    if (!logFileURL || !fileExists(*logFileURL)) {
        return true;
    }
    std::error_code error;
    std::filesystem::remove(*logFileURL, error);
    if (error) {
        printAboutFile("Logging File Destination could not remove file ", *logFileURL);
        return false;
    }
    return true;
}

}  // namespace logging
