#pragma once

#include "logging/Level.h"
#include "logging/LevelGate.h"

#include <atomic>

namespace logging {

// A minimum level that may be changed on one thread while calls on others read it. Used like an
// atomic Level; a change reaches the level gate, so the facade never drops a call that a lowered
// level now lets through.
class LevelSetting {
public:
    LevelSetting(Level level) : level_(level) {}
    LevelSetting(const LevelSetting&) = delete;
    LevelSetting& operator=(const LevelSetting&) = delete;

    LevelSetting& operator=(Level level)
    {
        store(level);
        return *this;
    }
    operator Level() const { return load(); }

    Level load() const { return level_.load(std::memory_order_acquire); }
    void store(Level level)
    {
        level_.store(level, std::memory_order_release);
        LevelGate::invalidate();
    }

private:
    std::atomic<Level> level_;
};

}  // namespace logging
