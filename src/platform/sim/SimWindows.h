#pragma once

#include "platform/Windows.h"
#include "platform/sim/SimWindow.h"

#include <memory>
#include <mutex>
#include <vector>

namespace veltrane::sim {

// The windows one process has made, so that the desktop can act on them as the user would.
class SimWindows final : public platform::Windows {
public:
    SimWindows(Transcript& transcript, SimQueue& mainQueue) : transcript_(transcript), mainQueue_(mainQueue)
    {
    }

    std::shared_ptr<platform::Window> makeWindow(const std::string& identifier) override;
    void activateApplication() override {}

    // The window of that identifier made last, or nothing.
    SimWindow* find(const std::string& identifier) const;

private:
    Transcript& transcript_;
    SimQueue& mainQueue_;
    mutable std::mutex mutex_;
    std::vector<std::weak_ptr<SimWindow>> windows_;
};

}  // namespace veltrane::sim
