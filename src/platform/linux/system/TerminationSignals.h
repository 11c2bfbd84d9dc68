#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace veltrane::linuxbackend {

// SIGINT and SIGTERM, taken on a thread of their own instead of interrupting whatever runs: the
// program then stops in order (keys released, devices let go). Made before any other thread, which
// inherits the blocked signals.
class TerminationSignals {
public:
    using Handler = std::function<void(int signal)>;

    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Starts waiting; the handler runs once, on the signals' thread, for the first signal.
    void onSignal(Handler handler);

private:
    std::thread thread_;
    std::atomic<bool> closing_ = false;
};

}  // namespace veltrane::linuxbackend
