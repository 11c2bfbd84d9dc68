#include "platform/threads/SerialQueue.h"

#include <benchmark/benchmark.h>

namespace veltrane::threads {
namespace {

// The cost at the caller of handing a task over; the queue runs the tasks meanwhile, and its
// destructor drains the rest once timing has stopped.
void asyncDispatch(benchmark::State& state)
{
    SerialQueue queue("bench.async");
    for (auto _ : state) {
        queue.async([] {});
    }
}
BENCHMARK(asyncDispatch);

void syncRoundTrip(benchmark::State& state)
{
    SerialQueue queue("bench.sync");
    for (auto _ : state) {
        queue.sync([] {});
    }
}
// The caller sleeps through most of a round trip, so only wall time shows its cost.
BENCHMARK(syncRoundTrip)->UseRealTime();

}  // namespace
}  // namespace veltrane::threads
