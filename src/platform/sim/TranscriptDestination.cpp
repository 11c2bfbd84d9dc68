#include "platform/sim/TranscriptDestination.h"

#include <array>

namespace veltrane::sim {

namespace {

constexpr std::array<const char*, 5> kLevelNames = {"verbose", "debug", "info", "warning", "error"};

}  // namespace

TranscriptDestination::TranscriptDestination(Transcript& transcript) : transcript_(transcript)
{
    asynchronously = false;
}

std::optional<std::string> TranscriptDestination::emit(logging::Level level, const std::string& message,
                                                       const std::string&, const std::string&,
                                                       const std::string&, int, const logging::Context&)
{
    std::string line = std::string(kLevelNames.at(static_cast<std::size_t>(level))) + " " + message;
    transcript_.record("log", line);
    return line;
}

}  // namespace veltrane::sim
