#include "platform/sim/SimAlerts.h"

#include "platform/sim/QuotedText.h"
#include "platform/sim/Transcript.h"

namespace veltrane::sim {

void SimAlerts::showAlert(const std::string& title, const std::string& text, const std::string&)
{
    transcript_.record("alert", quoted(title) + " " + quoted(text));
}

}  // namespace veltrane::sim
