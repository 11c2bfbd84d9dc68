#include "RecordingDestination.h"
#include "TemporaryFolder.h"
#include "logging/FileDestination.h"
#include "logging/Log.h"
#include "logging/filters/Filters.h"
#include "platform/threads/SerialQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace logging {
namespace {

using testing::RecordingDestination;
using Lines = std::vector<std::string>;

struct Point {
    int x;
    int y;
};

std::ostream& operator<<(std::ostream& stream, const Point& point)
{
    return stream << "(" << point.x << ", " << point.y << ")";
}

class FacadeTest : public ::testing::Test {
protected:
    ~FacadeTest() override { Logging::unregisterAll(); }

    static std::shared_ptr<RecordingDestination> recorder(Level minLevel = Level::verbose,
                                                          const std::string& format = "$L $M")
    {
        auto destination = std::make_shared<RecordingDestination>();
        destination->minLevel = minLevel;
        destination->format = format;
        Logging::registerDestination(destination);
        return destination;
    }
};

TEST_F(FacadeTest, RegistryHoldsEachDestinationOnce)
{
    const auto destination = std::make_shared<RecordingDestination>();
    EXPECT_TRUE(Logging::registerDestination(destination));
    EXPECT_FALSE(Logging::registerDestination(destination));
    EXPECT_EQ(Logging::destinationCount(), 1U);
    EXPECT_TRUE(Logging::unregisterDestination(destination));
    EXPECT_FALSE(Logging::unregisterDestination(destination));
    recorder();
    recorder();
    Logging::unregisterAll();
    EXPECT_EQ(Logging::destinationCount(), 0U);
}

TEST_F(FacadeTest, MessageIsEvaluatedOnceAndOnlyWhenNeeded)
{
    int evaluations = 0;
    const auto message = [&] {
        ++evaluations;
        return std::string("costly");
    };
    const auto first = recorder(Level::info);
    const auto second = recorder(Level::info);
    LOGGING_INFO(message());
    EXPECT_EQ(evaluations, 1);
    EXPECT_EQ(first->lines(), Lines{"INFO costly"});
    EXPECT_EQ(second->lines(), Lines{"INFO costly"});

    LOGGING_DEBUG(message());
    EXPECT_EQ(evaluations, 1);

    second->addFilter(Filters::Message::contains({"never"}, true, true));
    LOGGING_DEBUG(message());
    EXPECT_EQ(evaluations, 2);
    EXPECT_EQ(second->lines(), Lines{"INFO costly"});
}

TEST_F(FacadeTest, CallSiteAndContextArriveWithFunctionNamesCutBeforeTheirArguments)
{
    const auto destination = recorder(Level::verbose, "$N.$F:$l - $M $X");
    const int line = __LINE__ + 1;
    LOGGING_WARNING("here");
    Logging::info("m", "/x/AppDelegate.cpp", "applicationDidFinishLaunching(_:)", 3);
    Logging::log(Level::info, "m", "/x/AppDelegate.cpp", "start", 4);
    Logging::error("failed", "f", "g", 1, nlohmann::json{{"code", 5}});
    EXPECT_EQ(destination->lines(), (Lines{"FacadeTest.TestBody():" + std::to_string(line) + " - here",
                                           "AppDelegate.applicationDidFinishLaunching():3 - m",
                                           "AppDelegate.start():4 - m", "f.g():1 - failed {\"code\":5}"}));
}

TEST_F(FacadeTest, MessagesOfAnyTypeAreDescribed)
{
    const auto destination = recorder(Level::verbose, "$M");
    const int result = 0;
    LOGGING_INFO("Open: " + std::to_string(result));
    LOGGING_INFO(42);
    LOGGING_INFO(2.5);
    LOGGING_INFO(true);
    LOGGING_INFO(std::string_view("view"));
    LOGGING_INFO(Point{1, 2});
    Logging::info([] { return 7U; }, "f", "g", 1);
    EXPECT_EQ(destination->lines(), (Lines{"Open: 0", "42", "2.5", "true", "view", "(1, 2)", "7"}));
}

TEST_F(FacadeTest, ThreadNamesTellTheCallerAndADestinationsQueueIsLabelledWithAUuid)
{
    const auto destination = recorder(Level::verbose, "[$T] $M");
    LOGGING_INFO("main");
    veltrane::threads::SerialQueue queue("worker.queue");
    queue.sync([] { LOGGING_INFO("queued"); });
    std::thread([] {
        LOGGING_INFO("one");
        LOGGING_INFO("two");
    }).join();
    destination->runOnQueueAndWait([] { LOGGING_INFO("from the destination's queue"); });
    const auto lines = destination->lines();
    ASSERT_EQ(lines.size(), 5U);
    EXPECT_EQ(lines[0], "[] main");
    EXPECT_EQ(lines[1], "[worker.queue] queued");
    EXPECT_TRUE(lines[2].starts_with("[Thread-")) << lines[2];
    EXPECT_EQ(lines[3].substr(0, lines[3].find(']')), lines[2].substr(0, lines[2].find(']')));
    EXPECT_TRUE(lines[4].starts_with("[Logging-queue-")) << lines[4];
    EXPECT_EQ(lines[4].find(']'), std::string("[Logging-queue-").size() + 36);
}

TEST_F(FacadeTest, LoweredLevelOrNewFilterLetsTheNextCallThrough)
{
    const auto destination = recorder(Level::error);
    LOGGING_DEBUG("dropped");
    destination->minLevel = Level::debug;
    LOGGING_DEBUG("kept");
    Logging::setMinLevelEverywhere(Level::error);
    LOGGING_VERBOSE("dropped");
    destination->addFilter(Filters::Path::contains({"FacadeTest"}));
    LOGGING_VERBOSE("let through by the filter");
    EXPECT_EQ(destination->lines(), (Lines{"DEBUG kept", "VERBOSE let through by the filter"}));
}

TEST_F(FacadeTest, DestinationWithoutAQueueIsSkipped)
{
    const auto destination = recorder();
    destination->dropQueue();
    LOGGING_INFO("skipped");
    EXPECT_EQ(destination->linesSoFar(), Lines{});
    EXPECT_THROW(destination->runOnQueue(false, [] {}), std::logic_error);
}

TEST_F(FacadeTest, SynchronousDestinationHasTheLineWhenTheCallReturns)
{
    const auto destination = recorder();
    destination->asynchronously = false;
    LOGGING_INFO("now");
    EXPECT_EQ(destination->linesSoFar(), Lines{"INFO now"});
}

class ThrowingDestination : public BaseDestination {
public:
    std::optional<std::string> emit(Level, const std::string&, const std::string&, const std::string&,
                                    const std::string&, int, const Context&) override
    {
        throw std::runtime_error("broken");
    }
};

TEST_F(FacadeTest, FailingDestinationDoesNotReachTheCaller)
{
    auto broken = std::make_shared<ThrowingDestination>();
    broken->asynchronously = false;
    Logging::registerDestination(broken);
    const auto destination = recorder();
    EXPECT_NO_THROW(LOGGING_INFO("still logged"));
    EXPECT_EQ(destination->lines(), Lines{"INFO still logged"});
}

TEST(LoggingAtExit, QueuedLinesAreWrittenBeforeTheProcessEnds)
{
    const testing::TemporaryFolder folder;
    const auto log = folder / "exit.log";
    EXPECT_EXIT(
        {
            auto file = std::make_shared<FileDestination>(log);
            file->format = "$M";
            Logging::registerDestination(file);
            for (int line = 0; line < 1000; ++line) {
                LOGGING_INFO(line);
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    const auto text = testing::TemporaryFolder::read(log);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1000);
    EXPECT_TRUE(text.ends_with("\n999\n"));
}

}  // namespace
}  // namespace logging
