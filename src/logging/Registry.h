#pragma once

#include "logging/BaseDestination.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace logging {

// The process-wide set of registered destinations. Log calls read an immutable snapshot, so they
// never race with registering, and they keep the level gate settled.
class Registry {
public:
    using Destinations = std::vector<std::shared_ptr<BaseDestination>>;
    using Snapshot = std::shared_ptr<const Destinations>;

    static Registry& shared();
    // Lines still queued are written before the destinations go.
    ~Registry();

    bool add(std::shared_ptr<BaseDestination> destination);
    // Removes the destinations that match and tells how many there were.
    std::size_t removeIf(const std::function<bool(const BaseDestination&)>& matches);
    Snapshot snapshot();
    // Waits until every registered destination has handled the calls made before.
    void flush();

private:
    Registry() = default;
    void replace(Destinations destinations);
    static int lowestLevel(const Destinations& destinations);

    std::mutex mutex_;
    Snapshot destinations_ = std::make_shared<const Destinations>();
};

}  // namespace logging
