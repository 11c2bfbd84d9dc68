#include "platform/sim/SimWindows.h"

namespace veltrane::sim {

std::shared_ptr<platform::Window> SimWindows::makeWindow(const std::string& identifier)
{
    auto window = std::make_shared<SimWindow>(identifier, transcript_, mainQueue_);
    const std::lock_guard lock(mutex_);
    windows_.push_back(window);
    return window;
}

SimWindow* SimWindows::find(const std::string& identifier) const
{
    const std::lock_guard lock(mutex_);
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        const auto window = it->lock();
        if (window && window->identifier() == identifier) {
            return window.get();
        }
    }
    return nullptr;
}

}  // namespace veltrane::sim
