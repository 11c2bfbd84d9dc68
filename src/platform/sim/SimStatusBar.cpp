#include "platform/sim/SimStatusBar.h"

#include "platform/sim/Transcript.h"

namespace veltrane::sim {

void SimStatusBar::setImage(const std::string& name)
{
    transcript_.record("image", name);
}

}  // namespace veltrane::sim
