#pragma once

#include "platform/DistributedNotificationCenter.h"
#include "platform/Queue.h"
#include "platform/linux/system/ObserverRegistry.h"

#include <memory>

namespace veltrane::linuxbackend {

// Distributed notifications within this process: no message bus carries them to other programs
// yet. A post reaches the observers of its name (and of its object, for those that gave one) on
// the main queue, later; an observer removed before then is not called.
class LocalDistributedNotificationCenter final : public platform::DistributedNotificationCenter {
public:
    explicit LocalDistributedNotificationCenter(platform::Queue& mainQueue);

    void post(const std::string& name, const std::optional<std::string>& object) override;
    Token observe(const std::string& name, const std::optional<std::string>& object,
                  Handler handler) override;
    void removeObserver(Token token) override;

private:
    struct Filter {
        std::string name;
        std::optional<std::string> object;
    };
    using Observers = ObserverRegistry<Filter, Handler>;

    platform::Queue& mainQueue_;
    // Shared with the deliveries still queued, which find it gone once the centre is destroyed.
    std::shared_ptr<Observers> observers_ = std::make_shared<Observers>();
};

}  // namespace veltrane::linuxbackend
