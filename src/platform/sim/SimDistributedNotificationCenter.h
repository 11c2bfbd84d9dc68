#pragma once

#include "platform/LocalDistributedNotificationCenter.h"

#include <functional>

namespace veltrane::sim {

class SimQueue;
class Transcript;

// One process's end of the desktop's distributed notifications: what it posts is recorded and
// goes to the desktop; what reaches it goes to its observers on its main queue.
class SimDistributedNotificationCenter final : public platform::LocalDistributedNotificationCenter {
public:
    using Bus = std::function<void(const std::string& name, const std::optional<std::string>& object)>;

    SimDistributedNotificationCenter(Transcript& transcript, SimQueue& mainQueue, Bus bus);

    void post(const std::string& name, const std::optional<std::string>& object) override;

    // A notification reaches this process: its matching observers are queued.
    void deliver(const std::string& name, const std::optional<std::string>& object);

private:
    Transcript& transcript_;
    Bus bus_;
};

}  // namespace veltrane::sim
