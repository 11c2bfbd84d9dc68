#include "logging/ReaderSlots.h"

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace logging {

namespace {

struct Slots {
    std::mutex mutex;
    std::vector<const std::atomic<const void*>*> all;
};

// Never destroyed: threads may end after the program's static objects are gone.
Slots& slots()
{
    static auto* const shared = new Slots;
    return *shared;
}

struct ThreadSlot {
    ThreadSlot()
    {
        const std::lock_guard lock(slots().mutex);
        slots().all.push_back(&held);
    }
    ~ThreadSlot()
    {
        const std::lock_guard lock(slots().mutex);
        std::erase(slots().all, &held);
    }
    ThreadSlot(const ThreadSlot&) = delete;
    ThreadSlot& operator=(const ThreadSlot&) = delete;

    std::atomic<const void*> held{nullptr};
};

}  // namespace

std::atomic<const void*>& ReaderSlots::mine()
{
    thread_local ThreadSlot slot;
    return slot.held;
}

void ReaderSlots::waitUntilReleased(const void* object)
{
    if (object == nullptr) {
        return;
    }
    const std::lock_guard lock(slots().mutex);
    for (const auto* slot : slots().all) {
        while (slot->load() == object) {
            std::this_thread::yield();
        }
    }
}

}  // namespace logging
