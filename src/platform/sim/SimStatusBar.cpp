#include "platform/sim/SimStatusBar.h"

#include "platform/sim/SimStatusBarItem.h"

namespace veltrane::sim {

std::shared_ptr<platform::StatusBarItem> SimStatusBar::createItem()
{
    return std::make_shared<SimStatusBarItem>(transcript_, process_);
}

}  // namespace veltrane::sim
