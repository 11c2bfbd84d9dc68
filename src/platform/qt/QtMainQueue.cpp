#include "platform/qt/QtMainQueue.h"

#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <limits>

namespace veltrane::qtshell {

QtMainQueue::QtMainQueue(std::string label) : DrainedQueue(std::move(label))
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &context_, [this] { drain(); });
    tasks_.onAdded([this] { requestDrain(); });
}

bool QtMainQueue::isCurrent() const
{
    return QThread::currentThread() == context_.thread();
}

// Many tasks added before the loop comes round cost one posted event.
void QtMainQueue::requestDrain()
{
    if (!drainRequested_.exchange(true)) {
        QMetaObject::invokeMethod(
            &context_, [this] { drain(); }, Qt::QueuedConnection);
    }
}

void QtMainQueue::drain()
{
    // Cleared first: a task added from here on posts a drain of its own.
    drainRequested_ = false;
    while (auto task = tasks_.takeReady()) {
        run(*task);
    }
    armTimer();
}

void QtMainQueue::armTimer()
{
    const auto due = tasks_.nextDue();
    if (!due) {
        timer_.stop();
        return;
    }
    using std::chrono::milliseconds;
    // Rounded up, never early; a timer further off than Qt's reach wakes the loop to wait again.
    const auto wait = std::chrono::ceil<milliseconds>(*due - std::chrono::steady_clock::now());
    const auto longest = milliseconds(std::numeric_limits<int>::max());
    timer_.start(std::clamp(wait, milliseconds(0), longest));
}

}  // namespace veltrane::qtshell
