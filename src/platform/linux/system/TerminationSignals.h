#pragma once

#include "platform/linux/reactor/Reactor.h"

#include <functional>
#include <vector>

namespace veltrane::linuxbackend {

// SIGINT and SIGTERM, taken by the reactor instead of interrupting whatever runs: the program then
// stops in order (keys released, devices let go). Made before any other thread, which inherits the
// blocked signals.
class TerminationSignals {
public:
    using Handler = std::function<void(int signal)>;

    TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The handler runs once, on the reactor's thread, for the first signal, while the sources last.
    static std::vector<Reactor::Source> watch(Reactor& reactor, Handler handler);
};

}  // namespace veltrane::linuxbackend
