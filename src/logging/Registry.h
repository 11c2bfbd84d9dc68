#pragma once

#include "logging/BaseDestination.h"

#include <atomic>
#include <cstdint>
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

    // The destinations as a log call reads them: without a lock, kept alive until the reading ends.
    // A reading within another on the same thread sees what the outer one saw.
    class Reading {
    public:
        explicit Reading(Registry& registry);
        ~Reading();
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

        const Destinations& destinations() const { return *destinations_; }

    private:
        const Destinations* destinations_;
        bool outermost_;
    };

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
    // With the mutex held; returns the snapshot replaced, which readings may still hold.
    Snapshot replace(Destinations destinations);
    static void settleLevelGate(std::uint64_t observed, const Destinations& destinations);
    static int lowestLevel(const Destinations& destinations);

    std::mutex mutex_;
    Snapshot destinations_ = std::make_shared<const Destinations>();
    std::atomic<const Destinations*> published_{destinations_.get()};
};

}  // namespace logging
