#include "logging/Registry.h"

#include "logging/LevelGate.h"
#include "logging/ReaderSlots.h"

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
    Snapshot previous;
    {
        const std::lock_guard lock(mutex_);
        if (std::find(destinations_->begin(), destinations_->end(), destination) != destinations_->end()) {
            return false;
        }
        Destinations next = *destinations_;
        next.push_back(std::move(destination));
        previous = replace(std::move(next));
    }
    ReaderSlots::waitUntilReleased(previous.get());
    return true;
}

std::size_t Registry::removeIf(const std::function<bool(const BaseDestination&)>& matches)
{
    // Let go after the lock is released: a destination's last lines may still log on the way out.
    Snapshot previous;
    std::size_t removed = 0;
    {
        const std::lock_guard lock(mutex_);
        Destinations next = *destinations_;
        removed = std::erase_if(next, [&](const auto& destination) { return matches(*destination); });
        if (removed > 0) {
            previous = replace(std::move(next));
        }
    }
    ReaderSlots::waitUntilReleased(previous.get());
    return removed;
}

// The gate opens after the new snapshot is in place, so a call that finds it open also finds the
// new destinations.
Registry::Snapshot Registry::replace(Destinations destinations)
{
    Snapshot previous =
        std::exchange(destinations_, std::make_shared<const Destinations>(std::move(destinations)));
    published_.store(destinations_.get());
    LevelGate::invalidate();
    return previous;
}

Registry::Snapshot Registry::snapshot()
{
    const auto observed = LevelGate::observe();
    Snapshot current;
    {
        const std::lock_guard lock(mutex_);
        current = destinations_;
    }
    settleLevelGate(observed, *current);
    return current;
}

void Registry::settleLevelGate(std::uint64_t observed, const Destinations& destinations)
{
    if (!LevelGate::isSettled(observed)) {
        LevelGate::settle(observed, lowestLevel(destinations));
    }
}

Registry::Reading::Reading(Registry& registry)
{
    auto& slot = ReaderSlots::mine();
    const void* const outer = slot.load(std::memory_order_relaxed);
    outermost_ = outer == nullptr;
    if (!outermost_) {
        destinations_ = static_cast<const Destinations*>(outer);
        return;
    }
    const auto observed = LevelGate::observe();
    const Destinations* read = registry.published_.load();
    do {
        destinations_ = read;
        slot.store(destinations_);
        read = registry.published_.load();
    } while (read != destinations_);
    settleLevelGate(observed, *destinations_);
}

Registry::Reading::~Reading()
{
    if (outermost_) {
        ReaderSlots::mine().store(nullptr, std::memory_order_release);
    }
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
