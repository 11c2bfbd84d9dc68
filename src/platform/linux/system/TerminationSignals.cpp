#include "platform/linux/system/TerminationSignals.h"

#include <pthread.h>
#include <signal.h>

namespace veltrane::linuxbackend {

namespace {

sigset_t terminationSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

TerminationSignals::TerminationSignals()
{
    const sigset_t set = terminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (thread_.joinable()) {
        closing_ = true;
        pthread_kill(thread_.native_handle(), SIGTERM);
        thread_.join();
    }
}

void TerminationSignals::onSignal(Handler handler)
{
    thread_ = std::thread([this, handler = std::move(handler)] {
        const sigset_t set = terminationSet();
        int signal = 0;
        sigwait(&set, &signal);
        if (!closing_) {
            handler(signal);
        }
    });
}

}  // namespace veltrane::linuxbackend
