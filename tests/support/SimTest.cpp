#include "SimTest.h"

#include "logging/Logging.h"

namespace veltrane::testing {

SimTest::SimTest() : process_(desktop_.launch())
{
    settle();
    // Each test's transcript starts with what the test does, not with the process's launch.
    desktop_.transcript().clear();
}

SimTest::~SimTest()
{
    if (logCapture_) {
        logging::Logging::unregisterDestination(logCapture_);
    }
}

void SimTest::captureLogs(logging::Level minLevel)
{
    logCapture_ = std::make_shared<sim::TranscriptDestination>(desktop_.transcript());
    logCapture_->minLevel = minLevel;
    logging::Logging::registerDestination(logCapture_);
}

platform::Event SimTest::located(platform::EventType type, double x, double y)
{
    platform::Event event;
    event.type = type;
    event.location = {x, y};
    return event;
}

void SimTest::onMain(const std::function<void()>& task)
{
    process_.mainQueue().async(task);
    settle();
}

std::string SimTest::transcript(const std::vector<std::string>& kinds) const
{
    return desktop_.transcript().text(kinds);
}

}  // namespace veltrane::testing
