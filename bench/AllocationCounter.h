#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

namespace veltrane {

// A benchmark's loop that counts the heap allocations of every thread while its body runs, per
// iteration: for (auto _ : AllocationCounter(state)). The library's own work before the first and
// after the last iteration is left out, so a body that never allocates reads 0. In a benchmark on
// several threads the first one reports. A program that uses it links AllocationCounter.cpp, which
// replaces operator new to count.
class AllocationCounter {
public:
    class Iterator {
    public:
        Iterator(AllocationCounter& counter, benchmark::State::StateIterator inner,
                 benchmark::IterationCount remaining)
            : counter_(counter), inner_(inner), remaining_(remaining)
        {
        }

        benchmark::State::StateIterator::Value operator*() const { return *inner_; }
        Iterator& operator++()
        {
            ++inner_;
            --remaining_;
            return *this;
        }
        bool operator!=(const Iterator& end)
        {
            if (remaining_ == 0) {
                counter_.stop();
            }
            return inner_ != end.inner_;
        }

    private:
        AllocationCounter& counter_;
        benchmark::State::StateIterator inner_;
        benchmark::IterationCount remaining_;
    };

    explicit AllocationCounter(benchmark::State& state) : state_(state) {}

    Iterator begin();
    Iterator end() { return {*this, state_.end(), 0}; }

private:
    void stop();

    benchmark::State& state_;
    std::size_t start_ = 0;
    bool stopped_ = false;
};

}  // namespace veltrane
