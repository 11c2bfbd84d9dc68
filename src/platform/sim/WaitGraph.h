#pragma once

#include <map>
#include <set>
#include <vector>

namespace veltrane::sim {

class SimQueue;

// Which queue has waited synchronously for which, over the whole run. On real threads two queues
// that wait for each other, directly or through others, deadlock as soon as their waits overlap;
// the simulator runs one task at a time, so such waits never overlap here. It therefore keeps
// every wait it has seen and refuses the one that would close a cycle: the run fails where the
// real program could hang.
class WaitGraph {
public:
    // Records that waiter waits for target. Throws std::logic_error naming the queues of the cycle
    // when target already waits for waiter.
    void wait(const SimQueue& waiter, const SimQueue& target);
    // The queue is gone: its waits are forgotten.
    void forget(const SimQueue& queue);

private:
    // The queues from `from` to `to` along recorded waits, both included; empty when there is no way.
    std::vector<const SimQueue*> path(const SimQueue* from, const SimQueue* to) const;

    std::map<const SimQueue*, std::set<const SimQueue*>> waitsFor_;
};

}  // namespace veltrane::sim
