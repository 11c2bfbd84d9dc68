#pragma once

#include "platform/Queue.h"
#include "platform/sim/Execution.h"

#include <memory>
#include <string>

namespace veltrane::sim {

class Scheduler;
class SimProcess;

// A serial queue of the simulated desktop. On virtual time its tasks run on the scheduler's one
// driver, so sync() runs the task at once, with this queue current while it runs; a sync from
// another queue that closes a cycle of waits fails instead (see WaitGraph). When the application
// runs on real threads, the queue hands its tasks to a real queue instead. A queue that belongs
// to a process runs nothing once that process has exited.
class SimQueue final : public platform::Queue, public std::enable_shared_from_this<SimQueue> {
public:
    // A queue run as the execution says: by the scheduler, or on a serial queue of its own.
    static std::shared_ptr<SimQueue> make(Scheduler& scheduler, Execution execution, const std::string& label,
                                          SimProcess* process);

    SimQueue(Scheduler& scheduler, std::string label, SimProcess* process);
    // A queue whose tasks run on a real one: a serial queue, or a main loop that someone runs.
    SimQueue(Scheduler& scheduler, std::unique_ptr<platform::Queue> thread, SimProcess* process);
    ~SimQueue() override;
    SimQueue(const SimQueue&) = delete;
    SimQueue& operator=(const SimQueue&) = delete;

    void async(Task task) override;
    void asyncAfter(double seconds, Task task) override;
    void sync(const Task& task) override;
    const std::string& label() const override { return label_; }
    bool isCurrent() const override;

    SimProcess* process() const { return process_; }
    // Runs one task of this queue, on the caller's thread; the scheduler calls it when the task
    // falls due.
    void run(const Task& task);

private:
    // Queues the task on the real queue, to run there as this queue's.
    Task onThread(Task task);

    Scheduler& scheduler_;
    std::string label_;
    SimProcess* process_;
    // The real queue, or nothing on virtual time.
    std::unique_ptr<platform::Queue> thread_;
};

}  // namespace veltrane::sim
