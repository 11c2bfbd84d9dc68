#pragma once

#include <atomic>

namespace logging {

// Lets log calls read a shared object without a lock while another thread may replace it: each
// thread announces in a slot of its own what it reads, and whoever replaces the object waits until
// no slot names the old one before letting it go.
class ReaderSlots {
public:
    ReaderSlots() = delete;

    // The calling thread's slot: nullptr when it reads nothing.
    static std::atomic<const void*>& mine();
    // Returns once no thread's slot holds the object; a thread that announces it afterwards must
    // find it replaced and read again.
    static void waitUntilReleased(const void* object);
};

}  // namespace logging
