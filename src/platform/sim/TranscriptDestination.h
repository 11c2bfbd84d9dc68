#pragma once

#include "logging/BaseDestination.h"
#include "platform/sim/Transcript.h"

namespace veltrane::sim {

// Shows each log call the application makes as a transcript line "log info Open: 0". It writes
// synchronously, so the line takes its place among the other effects of the same moment.
class TranscriptDestination final : public logging::BaseDestination {
public:
    explicit TranscriptDestination(Transcript& transcript);

    std::optional<std::string> emit(logging::Level level, std::string_view message, std::string_view thread,
                                    std::string_view file, std::string_view function, int line,
                                    const logging::Context& context) override;

private:
    Transcript& transcript_;
};

}  // namespace veltrane::sim
