#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace veltrane::linuxbackend {

// How a loop goes on after a call that should not fail keeps failing: it says so once, waits
// longer after each failure up to a limit instead of spinning a core, and says when the call
// works again.
class Backoff {
public:
    using Log = std::function<void(const std::string& line)>;

    // what: the work that fails, as in "Cannot <what>".
    Backoff(std::string what, std::chrono::milliseconds first, std::chrono::milliseconds longest)
        : what_(std::move(what)), first_(first), longest_(longest)
    {
    }

    // After a failure with that errno value: how long to wait before the next try.
    std::chrono::milliseconds failed(int error, const Log& log);
    void succeeded(const Log& log);

private:
    const std::string what_;
    const std::chrono::milliseconds first_;
    const std::chrono::milliseconds longest_;
    std::chrono::milliseconds next_{0};
};

}  // namespace veltrane::linuxbackend
