#include "platform/sim/MultitouchBus.h"

#include "platform/sim/DesktopLock.h"
#include "platform/sim/SimMultitouch.h"

#include <algorithm>

namespace veltrane::sim {

void MultitouchBus::connect(Device device)
{
    const std::lock_guard guard(lock_);
    devices_.push_back(std::make_shared<const Device>(std::move(device)));
}

bool MultitouchBus::unplug(const std::string& name)
{
    const std::lock_guard guard(lock_);
    return std::erase_if(devices_, [&](const auto& device) { return device->name == name; }) > 0;
}

std::shared_ptr<const MultitouchBus::Device> MultitouchBus::find(const std::string& name) const
{
    const std::lock_guard guard(lock_);
    const auto found = std::find_if(devices_.begin(), devices_.end(),
                                    [&](const auto& device) { return device->name == name; });
    return found == devices_.end() ? nullptr : *found;
}

void MultitouchBus::attach(SimMultitouch& framework)
{
    const std::lock_guard guard(lock_);
    frameworks_.push_back(&framework);
}

void MultitouchBus::detach(SimMultitouch& framework)
{
    const std::lock_guard guard(lock_);
    std::erase(frameworks_, &framework);
}

std::vector<std::shared_ptr<const MultitouchBus::Device>> MultitouchBus::devices() const
{
    const std::lock_guard guard(lock_);
    return devices_;
}

void MultitouchBus::frame(const Device& device, const std::vector<platform::MTTouch>& contacts,
                          double timestamp)
{
    const std::lock_guard guard(lock_);
    ++frameNumber_;
    for (SimMultitouch* framework : frameworks_) {
        framework->deliverFrame(device, contacts, timestamp, frameNumber_);
    }
}

}  // namespace veltrane::sim
