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

std::optional<std::string> TranscriptDestination::emit(logging::Level level, std::string_view message,
                                                       std::string_view, std::string_view, std::string_view,
                                                       int, const logging::Context&)
{
    std::string line = std::string(kLevelNames.at(static_cast<std::size_t>(level))) + " ";
    line += message;
    transcript_.record("log", line);
    return line;
}

}  // namespace veltrane::sim
