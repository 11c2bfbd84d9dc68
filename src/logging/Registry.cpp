#include "logging/Registry.h"

#include "logging/LevelGate.h"

#include <algorithm>
#include <utility>

namespace logging {

namespace {

constexpr int noLevel = 5;

}  // namespace

Registry& Registry::shared()
{
    static Registry registry;
    return registry;
}

Registry::~Registry()
{
    flush();
    removeIf([](const BaseDestination&) { return true; });
}

void Registry::flush()
{
    for (const auto& destination : *snapshot()) {
        if (destination->hasQueue()) {
            destination->runOnQueueAndWait([] {});
        }
    }
}

bool Registry::add(std::shared_ptr<BaseDestination> destination)
{
    const std::lock_guard lock(mutex_);
    if (std::find(destinations_->begin(), destinations_->end(), destination) != destinations_->end()) {
        return false;
    }
    Destinations next = *destinations_;
    next.push_back(std::move(destination));
    replace(std::move(next));
    return true;
}

std::size_t Registry::removeIf(const std::function<bool(const BaseDestination&)>& matches)
{
    // Destroyed after the lock is released: a destination's last lines may still log on the way out.
    Snapshot previous;
    const std::lock_guard lock(mutex_);
    Destinations next = *destinations_;
    const auto removed = std::erase_if(next, [&](const auto& destination) { return matches(*destination); });
    if (removed > 0) {
        previous = destinations_;
        replace(std::move(next));
    }
    return removed;
}

// Called with the mutex held. The gate opens after the new snapshot is in place, so a call that
// finds it open also finds the new destinations.
void Registry::replace(Destinations destinations)
{
    destinations_ = std::make_shared<const Destinations>(std::move(destinations));
    LevelGate::invalidate();
}

Registry::Snapshot Registry::snapshot()
{
    const auto observed = LevelGate::observe();
    Snapshot current;
    {
        const std::lock_guard lock(mutex_);
        current = destinations_;
    }
    if (!LevelGate::isSettled(observed)) {
        LevelGate::settle(observed, lowestLevel(*current));
    }
    return current;
}

// A destination with filters may take a call below its own minimum level.
int Registry::lowestLevel(const Destinations& destinations)
{
    int lowest = noLevel;
    for (const auto& destination : destinations) {
        const int level = destination->filters().empty() ? static_cast<int>(destination->minLevel.load()) : 0;
        lowest = std::min(lowest, level);
    }
    return lowest;
}

}  // namespace logging
