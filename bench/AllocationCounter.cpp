#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> allocations{0};

}  // namespace

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size)) {
        return memory;
    }
    throw std::bad_alloc();
}

// GCC takes the replaced operator new for the built-in one and warns that free() does not match it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
#pragma GCC diagnostic pop

namespace veltrane {

AllocationCounter::Iterator AllocationCounter::begin()
{
    auto inner = state_.begin();
    start_ = allocations.load();
    return {*this, inner, state_.max_iterations};
}

void AllocationCounter::stop()
{
    if (stopped_ || state_.thread_index() != 0) {
        return;
    }
    stopped_ = true;
    state_.counters["allocs/iter"] = benchmark::Counter(static_cast<double>(allocations.load() - start_),
                                                        benchmark::Counter::kAvgIterations);
}

}  // namespace veltrane
