#pragma once

#include "platform/sim/Desktop.h"
#include "platform/sim/TranscriptDestination.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace veltrane::testing {

// A test on a fresh simulated desktop with one running process of the application (which does
// nothing by itself) whose ports the test drives.
class SimTest : public ::testing::Test {
protected:
    SimTest();
    ~SimTest() override;

    const platform::Platform& platform() { return process_.platform(); }
    sim::SimProcess& process() { return process_; }

    // Runs the code as a task of the process's main queue, then everything due now.
    void onMain(const std::function<void()>& task);
    void settle() { desktop_.scheduler().runUntilIdle(); }
    void advance(double seconds) { desktop_.scheduler().advance(seconds); }
    // The transcript lines of these kinds (all when none are named), one per line.
    std::string transcript(const std::vector<std::string>& kinds = {}) const;
    // An event of that type at a location, as a pointing device sends it.
    static platform::Event located(platform::EventType type, double x, double y);
    // From now on every log call of these levels and above is a "log" line of the transcript.
    void captureLogs(logging::Level minLevel = logging::Level::verbose);

    sim::Desktop desktop_;

private:
    sim::SimProcess& process_;
    std::shared_ptr<sim::TranscriptDestination> logCapture_;
};

}  // namespace veltrane::testing
