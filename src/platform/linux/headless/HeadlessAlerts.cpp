#include "platform/linux/headless/HeadlessAlerts.h"

namespace veltrane::linuxbackend {

void HeadlessAlerts::showAlert(const std::string& title, const std::string& text, const std::string&)
{
    log_(title + ": " + text);
}

}  // namespace veltrane::linuxbackend
