#include "platform/qt/QtMainQueue.h"
#include "QueueContract.h"
#include "RealTimeHarness.h"

#include <QThread>

#include <memory>
#include <vector>

namespace veltrane::qtshell {

// Each queue on a Qt event loop of its own, on a thread of the harness, made and destroyed there.
// The application the loops need is the test program's.
class QtMainQueueHarness : public contracts::RealTimeHarness {
public:
    QtMainQueueHarness() = default;
    QtMainQueueHarness(const QtMainQueueHarness&) = delete;
    QtMainQueueHarness& operator=(const QtMainQueueHarness&) = delete;
    ~QtMainQueueHarness()
    {
        for (auto& loop : loops_) {
            QMetaObject::invokeMethod(
                loop.anchor.get(), [&] { loop.queue.reset(); }, Qt::BlockingQueuedConnection);
            loop.thread->quit();
            loop.thread->wait();
        }
    }

    std::shared_ptr<platform::Queue> makeQueue(const std::string& label)
    {
        Loop& loop = loops_.emplace_back(std::make_unique<QThread>(), std::make_unique<QObject>());
        loop.thread->start();
        loop.anchor->moveToThread(loop.thread.get());
        QMetaObject::invokeMethod(
            loop.anchor.get(), [&] { loop.queue = std::make_shared<QtMainQueue>(label); },
            Qt::BlockingQueuedConnection);
        queues_.push_back(loop.queue);
        return loop.queue;
    }

private:
    struct Loop {
        std::unique_ptr<QThread> thread;
        std::unique_ptr<QObject> anchor;
        std::shared_ptr<QtMainQueue> queue;
    };
    std::vector<Loop> loops_;
};

}  // namespace veltrane::qtshell

namespace veltrane::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(QtMainQueue, QueueContract, qtshell::QtMainQueueHarness);
}  // namespace veltrane::contracts
