#pragma once

#include "logging/BaseDestination.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace logging {

// Appends every accepted line to a text file, opening and closing it for each line, and rotates the
// file into numbered archives (App.log.1 the newest) once it grows beyond logFileMaxSize.
// Every failure is reported on standard output and costs at most the current line.
class FileDestination : public BaseDestination {
public:
    // Without a location, "Logging.log" in a folder named after the executable in the user's caches.
    explicit FileDestination(std::optional<std::filesystem::path> location = std::nullopt);

    std::optional<std::filesystem::path> logFileURL;
    bool syncAfterEachWrite = false;
    std::uintmax_t logFileMaxSize = 5242880;
    // The log file plus logFileAmount - 1 archives; 1 or less means no rotation.
    int logFileAmount = 1;

    bool colored() const { return colored_; }
    void setColored(bool colored);

    std::optional<std::string> emit(Level level, std::string_view message, std::string_view thread,
                                    std::string_view file, std::string_view function, int line,
                                    const Context& context) override;
    int hashSeed() const override { return 2; }

    bool saveToFile(const std::string& text);
    void rotateFile(const std::filesystem::path& path);
    bool writeToFile(std::string_view bytes, const std::filesystem::path& location);
    bool deleteLogFile();

private:
    static std::optional<std::filesystem::path> defaultLocation();
    void validateSaveFile();
    bool appendLocked(int descriptor, std::string_view bytes, const std::filesystem::path& location) const;

    bool colored_ = false;
};

}  // namespace logging
