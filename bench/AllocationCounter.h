#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

namespace veltrane {

// Counts the heap allocations made while a benchmark's loop ran, per iteration. A program that
// uses it links AllocationCounter.cpp, which replaces operator new to count.
class AllocationCounter {
public:
    explicit AllocationCounter(benchmark::State& state);
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

private:
    benchmark::State& state_;
    std::size_t start_;
};

}  // namespace veltrane
