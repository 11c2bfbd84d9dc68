#include "platform/sim/WaitGraph.h"

#include "platform/sim/SimQueue.h"

#include <stdexcept>
#include <string>

namespace veltrane::sim {

void WaitGraph::wait(const SimQueue& waiter, const SimQueue& target)
{
    const auto cycle = path(&target, &waiter);
    if (!cycle.empty()) {
        std::string text = "wait cycle: " + waiter.label() + " waits for " + target.label();
        for (auto it = cycle.begin() + 1; it != cycle.end(); ++it) {
            text += ", which waits for " + (*it)->label();
        }
        throw std::logic_error(text);
    }
    waitsFor_[&waiter].insert(&target);
}

void WaitGraph::forget(const SimQueue& queue)
{
    waitsFor_.erase(&queue);
    for (auto& [waiter, targets] : waitsFor_) {
        targets.erase(&queue);
    }
}

std::vector<const SimQueue*> WaitGraph::path(const SimQueue* from, const SimQueue* to) const
{
    if (from == to) {
        return {from};
    }
    const auto found = waitsFor_.find(from);
    if (found == waitsFor_.end()) {
        return {};
    }
    for (const SimQueue* next : found->second) {
        auto rest = path(next, to);
        if (!rest.empty()) {
            rest.insert(rest.begin(), from);
            return rest;
        }
    }
    return {};
}

}  // namespace veltrane::sim
