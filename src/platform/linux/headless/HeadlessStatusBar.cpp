#include "platform/linux/headless/HeadlessStatusBar.h"

#include "platform/linux/headless/HeadlessStatusBarItem.h"

namespace veltrane::linuxbackend {

std::shared_ptr<platform::StatusBarItem> HeadlessStatusBar::createItem()
{
    return std::make_shared<HeadlessStatusBarItem>();
}

}  // namespace veltrane::linuxbackend
