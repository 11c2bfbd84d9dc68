#include "RecordingSystemLog.h"
#include "TemporaryFolder.h"
#include "logging/BundleInfo.h"
#include "logging/ConsoleDestination.h"
#include "logging/FileDestination.h"
#include "logging/Log.h"
#include "logging/WindowDestination.h"
#include "logging/filters/Filters.h"
#include "platform/SystemLog.h"
#include "platform/threads/SerialQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <complex>
#include <cstdlib>
#include <latch>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace logging {
namespace {

using veltrane::platform::SystemLogLevel;
using veltrane::testsupport::TemporaryFolder;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

// Read once the destinations have written what they were given; only whether it is open is asked
// while lines arrive.
struct FakeLogWindow : LogWindow {
    bool isOpen() const override { return open; }
    void appendLine(const std::string& line) override { text += line; }
    void show() override { open = true; }

    std::atomic<bool> open{false};
    std::string text;
};

// A destination that keeps the texts it produced, for tests to read once its queue is drained; a
// broken one throws instead.
class RecordingDestination : public BaseDestination {
public:
    std::optional<std::string> emit(Level level, std::string_view message, std::string_view thread,
                                    std::string_view file, std::string_view function, int line,
                                    const Context& context) override
    {
        if (broken) {
            throw std::runtime_error("broken");
        }
        auto text = BaseDestination::emit(level, message, thread, file, function, line, context);
        const std::lock_guard lock(mutex_);
        lines_.push_back(text.value_or("<nothing>"));
        return text;
    }

    // Every text so far, read on the queue once the calls already queued have run.
    Lines lines()
    {
        return runOnQueueAndWait([this] { return linesSoFar(); });
    }

    // What was produced so far, without waiting for queued calls.
    Lines linesSoFar()
    {
        const std::lock_guard lock(mutex_);
        return lines_;
    }

    void dropQueue() { queue.reset(); }

    bool broken = false;

private:
    std::mutex mutex_;
    Lines lines_;
};

std::shared_ptr<RecordingDestination> recorder(Level minLevel = Level::verbose,
                                               const std::string& format = "$L $M")
{
    auto destination = std::make_shared<RecordingDestination>();
    destination->minLevel = minLevel;
    destination->format = format;
    Logging::registerDestination(destination);
    return destination;
}

// Each test leaves the registry empty. The presets' support folder is the temporary folder, their
// windows are one fake window and their unified log a fake one.
class FacadeTest : public ::testing::Test {
protected:
    FacadeTest()
    {
        ::setenv("XDG_DATA_HOME", folder.path().c_str(), 1);
        Logging::setLogWindowFactory([this] { return window; });
        Logging::setSystemLog(&systemLog);
    }
    ~FacadeTest() override
    {
        Logging::unregisterAll();
        Logging::setLogWindowFactory({});
        Logging::setSystemLog(nullptr);
        BundleInfo::restoreForTesting();
        ::unsetenv("XDG_DATA_HOME");
    }

    // The file's text once every destination has written what it was given.
    static std::string written(const fs::path& file)
    {
        Logging::flush();
        return TemporaryFolder::read(file);
    }

    TemporaryFolder folder;
    fs::path appLog = folder / "Veltrane" / "Veltrane.log";
    // The build number the bundle has, which the build counts.
    const std::string build = BundleInfo::string("CFBundleVersion").value_or("");
    std::shared_ptr<FakeLogWindow> window = std::make_shared<FakeLogWindow>();
    veltrane::testsupport::RecordingSystemLog systemLog;
};

// The message is evaluated once for every destination that takes the call, and not at all when none
// takes it unless a message filter needs it. The facade notices at once a lowered minimum level or a
// new filter that lets a call through.
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
    EXPECT_EQ(second->lines(), Lines{"INFO costly"});

    LOGGING_DEBUG(message());
    EXPECT_EQ(evaluations, 1);

    second->addFilter(Filters::Message::contains({"never"}, true, true));
    LOGGING_DEBUG(message());
    EXPECT_EQ(evaluations, 2);
    EXPECT_EQ(second->lines(), Lines{"INFO costly"});

    Logging::unregisterDestination(second);
    LOGGING_DEBUG("dropped");
    first->minLevel = Level::debug;
    LOGGING_DEBUG("kept");
    Logging::setMinLevelEverywhere(Level::error);
    LOGGING_VERBOSE("dropped");
    first->addFilter(Filters::Path::contains({"FacadeTest"}));
    LOGGING_VERBOSE("let through by the filter");
    EXPECT_EQ(first->lines(), (Lines{"INFO costly", "DEBUG kept", "VERBOSE let through by the filter"}));
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
    LOGGING_INFO(std::complex<double>(1, 2));
    Logging::info([] { return 7U; }, "f", "g", 1);
    EXPECT_EQ(destination->lines(), (Lines{"Open: 0", "42", "2.5", "true", "view", "(1,2)", "7"}));
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

// The registry holds each destination once. A destination without a queue is skipped and one that
// fails does not reach the caller; a synchronous destination has the line when the call returns.
TEST_F(FacadeTest, RegistryHoldsEachDestinationOnceAndBrokenOnesDoNotStopTheOthers)
{
    const auto withoutQueue = recorder();
    EXPECT_FALSE(Logging::registerDestination(withoutQueue));
    EXPECT_EQ(Logging::destinationCount(), 1U);
    withoutQueue->dropQueue();
    const auto broken = std::make_shared<RecordingDestination>();
    broken->broken = true;
    broken->asynchronously = false;
    EXPECT_TRUE(Logging::registerDestination(broken));
    const auto destination = recorder();
    destination->asynchronously = false;
    EXPECT_NO_THROW(LOGGING_INFO("now"));
    EXPECT_EQ(destination->linesSoFar(), Lines{"INFO now"});
    EXPECT_EQ(withoutQueue->linesSoFar(), Lines{});
    EXPECT_THROW(withoutQueue->runOnQueue(false, [] {}), std::logic_error);

    EXPECT_TRUE(Logging::unregisterDestination(broken));
    EXPECT_FALSE(Logging::unregisterDestination(broken));
    Logging::unregisterAll();
    EXPECT_EQ(Logging::destinationCount(), 0U);
}

constexpr int threads = 8;
constexpr int callsEach = 2000;

// Every line of every thread arrives once, and each thread's lines arrive in the order it made them.
void expectEveryLineInEachThreadsOrder(const std::vector<std::string>& lines)
{
    std::vector<int> next(threads, 0);
    for (const auto& line : lines) {
        const auto colon = line.find(':');
        const int thread = std::stoi(line.substr(0, colon));
        const int call = std::stoi(line.substr(colon + 1));
        ASSERT_EQ(call, next[static_cast<std::size_t>(thread)]) << "thread " << thread;
        ++next[static_cast<std::size_t>(thread)];
    }
    EXPECT_EQ(next, std::vector<int>(threads, callsEach));
}

void logFromManyThreads()
{
    std::latch start(threads);
    std::vector<std::jthread> callers;
    for (int thread = 0; thread < threads; ++thread) {
        callers.emplace_back([&start, thread] {
            start.arrive_and_wait();
            for (int call = 0; call < callsEach; ++call) {
                LOGGING_INFO(std::to_string(thread) + ":" + std::to_string(call));
            }
        });
    }
}

// The asynchronous destination is held up until every caller is done: far more lines than it has
// room for go around it through its serial queue, from every caller at once, and no caller waits.
TEST_F(FacadeTest, LinesOfOneDestinationKeepTheirOrderUnderManyThreads)
{
    const auto asynchronous = recorder(Level::verbose, "$M");
    const auto synchronous = recorder(Level::verbose, "$M");
    synchronous->asynchronously = false;
    std::latch callersDone(1);
    asynchronous->runOnQueue(false, [&callersDone] { callersDone.wait(); });
    logFromManyThreads();
    callersDone.count_down();
    expectEveryLineInEachThreadsOrder(asynchronous->lines());
    expectEveryLineInEachThreadsOrder(synchronous->lines());
}

TEST_F(FacadeTest, SettingsMayChangeWhileOtherThreadsLog)
{
    const auto destination = recorder(Level::verbose, "$M");
    std::atomic<bool> done{false};
    std::thread changer([&] {
        while (!done) {
            auto extra = std::make_shared<RecordingDestination>();
            Logging::registerDestination(extra);
            Logging::setMinLevelEverywhere(Level::error);
            Logging::setMinLevelEverywhere(Level::verbose);
            destination->asynchronously = !destination->asynchronously;
            Logging::unregisterDestination(extra);
        }
    });
    logFromManyThreads();
    done = true;
    changer.join();
    destination->minLevel = Level::verbose;
    LOGGING_INFO("after");
    const auto lines = destination->lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "after");
}

// Each call replaces what the last one set up: the window alone, or with a file that starts at debug
// while the window keeps verbose, or both at the level given. Every file the presets make replaces the
// one before. Showing the windows before there is a factory does nothing; that the factory's window is
// made once and shown each time, and what it shows while open or closed, are in the log window's own
// tests.
TEST_F(FacadeTest, MainApplicationGetsTheWindowAndOnRequestAFileStartingAtDebugOrTheGivenLevel)
{
    Logging::zorvDefaults(false, std::nullopt);
    EXPECT_EQ(Logging::destinationCount(), 1U);
    Logging::zorvDefaults(false, Level::info);
    EXPECT_EQ(Logging::destinationCount(), 1U);
    EXPECT_FALSE(fs::exists(appLog));

    fs::create_directories(appLog.parent_path());
    TemporaryFolder::write(appLog, "previous run\n");
    Logging::zorvDefaults(true, std::nullopt);
    Logging::zorvDefaults(true, std::nullopt);
    EXPECT_EQ(Logging::destinationCount(), 2U);
    Logging::setLogWindowFactory({});
    Logging::showLogWindows();
    EXPECT_FALSE(window->open);
    Logging::setLogWindowFactory([this] { return window; });
    Logging::showLogWindows();
    LOGGING_VERBOSE("verbose line");
    LOGGING_DEBUG("debug line");
    const auto file = written(appLog);
    EXPECT_EQ(file.find("previous run"), std::string::npos);
    EXPECT_NE(file.find("INFO Logging.zorvDefaults():"), std::string::npos) << file;
    EXPECT_NE(file.find(" - build " + build + "\n"), std::string::npos) << file;
    EXPECT_EQ(file.find("verbose line"), std::string::npos);
    EXPECT_NE(file.find("debug line"), std::string::npos);
    EXPECT_NE(window->text.find("verbose line\n"), std::string::npos);

    Logging::zorvDefaults(true, Level::info);
    Logging::showLogWindows();
    LOGGING_DEBUG("quiet line");
    LOGGING_INFO("info line");
    const auto atInfo = written(appLog);
    EXPECT_EQ(atInfo.find("debug line"), std::string::npos);
    EXPECT_EQ(atInfo.find("quiet line"), std::string::npos);
    EXPECT_NE(atInfo.find("info line"), std::string::npos);
    EXPECT_EQ(window->text.find("quiet line"), std::string::npos);
    EXPECT_NE(window->text.find("info line"), std::string::npos);

    Logging::removeFileDestinations();
    EXPECT_EQ(Logging::destinationCount(), 1U);
    Logging::addDefaultFileDestination(Level::warning);
    LOGGING_INFO("below warning");
    LOGGING_WARNING("warning line");
    const auto atWarning = written(appLog);
    EXPECT_EQ(atWarning.find("info line"), std::string::npos);
    EXPECT_EQ(atWarning.find("below warning"), std::string::npos);
    EXPECT_NE(atWarning.find("warning line"), std::string::npos);
}

// A helper also writes to the unified log. The files are named after the bundle in the XDG data home
// (only an absolute one counts); without a version there is no build line, without a name no file.
TEST_F(FacadeTest, HelperWritesToTheUnifiedLogAndFilesAreNamedAfterTheBundleInTheXdgDataHome)
{
    Logging::zorvDefaults(false, std::nullopt);
    Logging::zorvHelperDefaults(true, "com.marrowind.Veltrane", "Veltrane");
    EXPECT_EQ(Logging::destinationCount(), 3U);
    LOGGING_ERROR("helper failed");
    const auto file = written(folder / "Veltrane" / "VeltraneHelper.log");
    EXPECT_NE(file.find("build " + build), std::string::npos);
    EXPECT_NE(file.find("helper failed"), std::string::npos);
    const auto entries = systemLog.lines;
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[0].first, SystemLogLevel::info);
    EXPECT_TRUE(entries[0].second.starts_with("com-marrowind-Veltrane ")) << entries[0].second;
    EXPECT_TRUE(entries[0].second.ends_with(" - build " + build)) << entries[0].second;
    EXPECT_EQ(entries[1].first, SystemLogLevel::error);

    BundleInfo::overrideForTesting("CFBundleVersion", std::nullopt);
    BundleInfo::overrideForTesting("CFBundleDisplayName", std::nullopt);
    BundleInfo::overrideForTesting("CFBundleName", "Other");
    Logging::zorvDefaults(true, std::nullopt);
    LOGGING_INFO("first");
    EXPECT_EQ(written(folder / "Other" / "Other.log").find("build"), std::string::npos);
    BundleInfo::overrideForTesting("CFBundleName", std::nullopt);
    Logging::zorvDefaults(true, std::nullopt);
    EXPECT_EQ(Logging::destinationCount(), 1U);

    ::setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(Logging::supportDirectory(), fs::path(home) / ".local" / "share");
}

// A console line goes to the unified log under the bundle's name at the level's type; else to the legacy
// console, which keeps it from standard output and the unified log; else, and without a unified log,
// to standard output. Its colours are squares before the level, or terminal colours while they are on.
TEST_F(FacadeTest, ConsoleWritesToTheUnifiedLogTheLegacyConsoleOrStandardOutput)
{
    ConsoleDestination console(&systemLog);
    ConsoleDestination withoutLog(nullptr);
    EXPECT_EQ(withoutLog.loggableBundleId, "com-marrowind-Veltrane ");
    const auto emit = [](ConsoleDestination& destination, Level level) {
        return destination.emit(level, "failed", "", "/src/App.cpp", "run()", 7, {});
    };
    console.format = "$C$L$c $N.$F:$l - $M";
    ::testing::internal::CaptureStdout();
    emit(console, Level::error);
    console.setUseTerminalColors(true);
    EXPECT_EQ(emit(console, Level::warning), "\x1B[38;5;178mWARNING\x1B[0m App.run():7 - failed");
    console.setUseTerminalColors(false);
    console.useNSLog = true;
    EXPECT_EQ(emit(console, Level::warning), "🟨 WARNING App.run():7 - failed");
    console.useMacConsole = true;
    console.setBundleId("org.example.Tool");
    console.format = withoutLog.format = "$M";
    for (const auto level : {Level::verbose, Level::debug, Level::info, Level::warning, Level::error}) {
        emit(console, level);
    }
    withoutLog.useMacConsole = true;
    emit(withoutLog, Level::info);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "🟥 ERROR App.run():7 - failed\n\x1B[38;5;178mWARNING\x1B[0m App.run():7 - failed\nfailed\n");
    const std::vector<std::pair<SystemLogLevel, std::string>> expected = {
        {SystemLogLevel::debug, "org-example-Tool failed"},
        {SystemLogLevel::debug, "org-example-Tool failed"},
        {SystemLogLevel::info, "org-example-Tool failed"},
        {SystemLogLevel::info, "org-example-Tool failed"},
        {SystemLogLevel::error, "org-example-Tool failed"}};
    EXPECT_EQ(systemLog.lines, expected);
}

TEST_F(FacadeTest, QueuedLinesAreWrittenBeforeTheProcessEnds)
{
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
    const auto text = TemporaryFolder::read(log);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1000);
    EXPECT_TRUE(text.ends_with("\n999\n"));
}

}  // namespace
}  // namespace logging
