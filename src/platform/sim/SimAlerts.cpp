#include "platform/sim/SimAlerts.h"

#include "platform/sim/Transcript.h"

#include <nlohmann/json.hpp>

namespace veltrane::sim {

namespace {

// Quoted with JSON escapes, so a line break in a text stays on the transcript's line.
std::string quoted(const std::string& text)
{
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

void SimAlerts::showAlert(const std::string& title, const std::string& text, const std::string&)
{
    transcript_.record("alert", quoted(title) + " " + quoted(text));
}

}  // namespace veltrane::sim
