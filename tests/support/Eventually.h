#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace veltrane::testsupport {

// Whether the condition comes true within the limit, asked every few milliseconds: for what another
// thread, a server or another process does in its own time.
inline bool eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace veltrane::testsupport
