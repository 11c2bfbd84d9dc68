#include "app/StatusItem.h"

namespace veltrane {

void StatusItem::setImage(const std::string& name)
{
    platform_.dispatch.mainQueue().sync([&] { platform_.statusBar.setImage(name); });
}

}  // namespace veltrane
