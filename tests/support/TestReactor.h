#pragma once

#include "platform/linux/reactor/ReactorLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

namespace veltrane::testsupport {

// A reactor and the main queue it runs, run on the test's thread while the test waits for what the
// reactor's sources bring. A source dropped for a failure fails the test.
struct TestReactor {
    // Runs the reactor until the condition holds, asked every few milliseconds, or until the limit;
    // whether it held.
    bool runUntil(const std::function<bool()>& condition,
                  std::chrono::milliseconds limit = std::chrono::seconds(5))
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        bool held = false;
        std::function<void()> check = [&] {
            held = condition();
            if (held || std::chrono::steady_clock::now() > deadline) {
                loop.quit();
            } else {
                loop.asyncAfter(0.005, check);
            }
        };
        loop.async(check);
        loop.run();
        return held;
    }

    linuxbackend::Reactor reactor{[](const std::string& line) { ADD_FAILURE() << line; }};
    linuxbackend::ReactorLoop loop{reactor};
};

}  // namespace veltrane::testsupport
