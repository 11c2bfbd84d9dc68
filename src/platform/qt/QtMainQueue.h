#pragma once

#include "platform/threads/DrainedQueue.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <string>

namespace veltrane::qtshell {

// The main queue of the graphical program: its tasks run on the thread of the Qt event loop that
// made it, one at a time and in a serial queue's order, between the loop's own events. Like the
// plain main loop, it drops an exception escaping an async or delayed task and hands one escaping
// a sync task to the caller. Made and destroyed on the loop's thread.
class QtMainQueue final : public threads::DrainedQueue {
public:
    explicit QtMainQueue(std::string label = "main");
    QtMainQueue(const QtMainQueue&) = delete;
    QtMainQueue& operator=(const QtMainQueue&) = delete;

    bool isCurrent() const override;

private:
    void requestDrain();
    void drain();
    void armTimer();

    // Lives on the loop's thread: what is posted to it runs there.
    QObject context_;
    QTimer timer_;
    std::atomic<bool> drainRequested_{false};
};

}  // namespace veltrane::qtshell
