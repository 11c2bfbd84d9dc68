#include "logging/ThreadName.h"

#include "platform/threads/SerialQueue.h"

#include <atomic>
#include <thread>

namespace logging {

namespace {

// Static initialisation runs on the main thread, before any other thread can exist.
const std::thread::id mainThread = std::this_thread::get_id();

std::string numberedName()
{
    static std::atomic<int> threadsNamed{0};
    std::string name = "Thread-";
    name += std::to_string(threadsNamed.fetch_add(1) + 1);
    return name;
}

}  // namespace

std::string_view ThreadName::current()
{
    if (std::this_thread::get_id() == mainThread) {
        return {};
    }
    if (const auto* queue = veltrane::threads::SerialQueue::current()) {
        return queue->label();
    }
    thread_local const std::string name = numberedName();
    return name;
}

}  // namespace logging
