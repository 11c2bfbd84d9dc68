#pragma once

#include "platform/Queue.h"
#include "platform/threads/TaskQueue.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <string>

namespace veltrane::qtshell {

// The main queue of the graphical program: its tasks run on the thread of the Qt event loop that
// made it, one at a time and in a serial queue's order, between the loop's own events. Like the
// plain main loop, it drops an exception escaping an async or delayed task and hands one escaping
// a sync task to the caller. Made and destroyed on the loop's thread.
class QtMainQueue final : public platform::Queue {
public:
    explicit QtMainQueue(std::string label = "main");
    QtMainQueue(const QtMainQueue&) = delete;
    QtMainQueue& operator=(const QtMainQueue&) = delete;

    void async(Task task) override;
    void asyncAfter(double seconds, Task task) override;
    void sync(const Task& task) override;
    const std::string& label() const override { return label_; }
    bool isCurrent() const override;

private:
    void requestDrain();
    void drain();
    void armTimer();

    std::string label_;
    threads::TaskQueue tasks_;
    // Lives on the loop's thread: what is posted to it runs there.
    QObject context_;
    QTimer timer_;
    std::atomic<bool> drainRequested_{false};
};

}  // namespace veltrane::qtshell
