#pragma once

#include "platform/MTTouch.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace veltrane::sim {

class DesktopLock;
class SimMultitouch;

// The devices of the multitouch framework (trackpads and Magic Mice) and the processes' views of
// the framework. A contact frame of a device reaches every process that registered for it.
class MultitouchBus {
public:
    struct Device {
        std::string name;
        std::uint64_t deviceId = 0;
        std::int32_t familyId = 0;
        bool builtIn = false;
        bool supportsForce = false;
        std::int32_t width = 0;
        std::int32_t height = 0;
    };

    explicit MultitouchBus(DesktopLock& lock) : lock_(lock) {}

    void connect(Device device);
    // False when no device of that name is connected.
    bool unplug(const std::string& name);
    std::shared_ptr<const Device> find(const std::string& name) const;
    std::vector<std::shared_ptr<const Device>> devices() const;

    void attach(SimMultitouch& framework);
    void detach(SimMultitouch& framework);
    // The device reports one frame of contacts at that time.
    void frame(const Device& device, const std::vector<platform::MTTouch>& contacts, double timestamp);

private:
    DesktopLock& lock_;
    std::vector<std::shared_ptr<const Device>> devices_;
    std::vector<SimMultitouch*> frameworks_;
    int frameNumber_ = 0;
};

}  // namespace veltrane::sim
