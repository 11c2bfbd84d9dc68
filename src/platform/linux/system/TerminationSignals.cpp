#include "platform/linux/system/TerminationSignals.h"

#include <pthread.h>

#include <csignal>
#include <memory>
#include <utility>

namespace veltrane::linuxbackend {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};

}  // namespace

TerminationSignals::TerminationSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kSignals) {
        sigaddset(&set, signal);
    }
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

std::vector<Reactor::Source> TerminationSignals::watch(Reactor& reactor, Handler handler)
{
    auto once = std::make_shared<Handler>(std::move(handler));
    std::vector<Reactor::Source> sources;
    for (const int signal : kSignals) {
        sources.push_back(reactor.signal("the termination signals", signal, [once](int number) {
            if (*once) {
                std::exchange(*once, nullptr)(number);
            }
        }));
    }
    return sources;
}

}  // namespace veltrane::linuxbackend
