#pragma once

#include "logging/LogWindow.h"
#include "platform/SystemLog.h"

#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace logging::testing {

class FakeSystemLog : public veltrane::platform::SystemLog {
public:
    void write(veltrane::platform::SystemLogLevel level, std::string_view text) override
    {
        const std::lock_guard lock(mutex_);
        entries_.emplace_back(level, std::string(text));
    }

    std::vector<std::pair<veltrane::platform::SystemLogLevel, std::string>> entries()
    {
        const std::lock_guard lock(mutex_);
        return entries_;
    }

private:
    std::mutex mutex_;
    std::vector<std::pair<veltrane::platform::SystemLogLevel, std::string>> entries_;
};

class FakeLogWindow : public LogWindow {
public:
    bool isOpen() const override { return open_.load(); }
    void appendLine(const std::string& text) override
    {
        const std::lock_guard lock(mutex_);
        text_ += text;
    }
    void show() override
    {
        ++shown_;
        open_ = true;
    }

    // What the user's closing the window does: it is emptied and closed.
    void close()
    {
        open_ = false;
        const std::lock_guard lock(mutex_);
        text_.clear();
    }
    std::string text()
    {
        const std::lock_guard lock(mutex_);
        return text_;
    }
    int timesShown() const { return shown_.load(); }

private:
    std::atomic<bool> open_{false};
    std::atomic<int> shown_{0};
    std::mutex mutex_;
    std::string text_;
};

}  // namespace logging::testing
