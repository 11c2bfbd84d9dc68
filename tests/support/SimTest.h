#pragma once

#include "logging/Logging.h"
#include "platform/sim/Desktop.h"
#include "platform/sim/TranscriptDestination.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace veltrane::testing {

// A test on a fresh simulated desktop with one running process of the application (which does
// nothing by itself) whose ports the test drives.
class SimTest : public ::testing::Test {
protected:
    SimTest() : process_(desktop_.launch())
    {
        settle();
        // Each test's transcript starts with what the test does, not with the process's launch.
        desktop_.transcript().clear();
    }
    ~SimTest() override
    {
        if (logCapture_) {
            logging::Logging::unregisterDestination(logCapture_);
        }
    }

    const platform::Platform& platform() { return process_.platform(); }
    sim::SimProcess& process() { return process_; }

    // Runs the code as a task of the process's main queue, then everything due now.
    void onMain(const std::function<void()>& task)
    {
        process_.mainQueue().async(task);
        settle();
    }
    void settle() { desktop_.scheduler().runUntilIdle(); }
    void advance(double seconds) { desktop_.scheduler().advance(seconds); }
    // The transcript lines of these kinds (all when none are named), one per line.
    std::string transcript(const std::vector<std::string>& kinds = {}) const
    {
        return desktop_.transcript().text(kinds);
    }
    // An event of that type at a location, as a pointing device sends it.
    static platform::Event located(platform::EventType type, double x, double y)
    {
        platform::Event event;
        event.type = type;
        event.location = {x, y};
        return event;
    }
    // From now on every log call of these levels and above is a "log" line of the transcript.
    void captureLogs(logging::Level minLevel = logging::Level::verbose)
    {
        logCapture_ = std::make_shared<sim::TranscriptDestination>(desktop_.transcript());
        logCapture_->minLevel = minLevel;
        logging::Logging::registerDestination(logCapture_);
    }

    sim::Desktop desktop_;

private:
    sim::SimProcess& process_;
    std::shared_ptr<sim::TranscriptDestination> logCapture_;
};

}  // namespace veltrane::testing
