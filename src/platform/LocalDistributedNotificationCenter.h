#pragma once

#include "platform/DistributedNotificationCenter.h"
#include "platform/ObserverRegistry.h"
#include "platform/Queue.h"

#include <memory>

namespace veltrane::platform {

// Distributed notifications as one process's observers hear them, for every backend. A post
// reaches the observers of its name (and of its object, for those that gave one) on the main
// queue, later; an observer removed before then is not called. On its own it keeps notifications
// within the process; a backend that carries them between programs posts here what reaches this
// one.
class LocalDistributedNotificationCenter : public DistributedNotificationCenter {
public:
    explicit LocalDistributedNotificationCenter(Queue& mainQueue);

    void post(const std::string& name, const std::optional<std::string>& object) override;
    Token observe(const std::string& name, const std::optional<std::string>& object, Handler handler) final;
    void removeObserver(Token token) final;

private:
    struct Filter {
        std::string name;
        std::optional<std::string> object;
    };
    using Observers = ObserverRegistry<Filter, Handler>;

    Queue& mainQueue_;
    // Shared with the deliveries still queued, which find it gone once the centre is destroyed.
    std::shared_ptr<Observers> observers_ = std::make_shared<Observers>();
};

}  // namespace veltrane::platform
