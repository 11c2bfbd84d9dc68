// The logging library side by side with spdlog: the cost at the caller of an accepted and of a
// dropped call, rendering the default line, and file throughput. The asynchronous rows count the
// heap allocations of every thread, the consumer's included.
#include "AllocationCounter.h"
#include "logging/FileDestination.h"
#include "logging/Log.h"

#include <benchmark/benchmark.h>
#include <spdlog/async.h>
#include <spdlog/async_logger.h>
#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/sinks/null_sink.h>
#include <spdlog/spdlog.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace std::chrono_literals;

// Takes every call and throws its text away, like spdlog's null sink.
class DiscardingDestination : public logging::BaseDestination {
public:
    std::optional<std::string> emit(logging::Level, std::string_view, std::string_view, std::string_view,
                                    std::string_view, int, const logging::Context&) override
    {
        return std::nullopt;
    }
};

std::filesystem::path benchFile(const char* name)
{
    return std::filesystem::temp_directory_path() /
           (std::string(name) + "-" + std::to_string(::getpid()) + ".log");
}

// Dispatching an accepted call to one asynchronous destination.

void loggingAsyncInfo(benchmark::State& state)
{
    if (state.thread_index() == 0) {
        logging::Logging::registerDestination(std::make_shared<DiscardingDestination>());
    }
    for (auto _ : veltrane::AllocationCounter(state)) {
        LOGGING_INFO("connection opened");
    }
    if (state.thread_index() == 0) {
        logging::Logging::flush();
        logging::Logging::unregisterAll();
    }
}
BENCHMARK(loggingAsyncInfo)->Threads(1)->Threads(2)->Threads(4)->UseRealTime();

void spdlogAsyncInfo(benchmark::State& state)
{
    static std::shared_ptr<spdlog::details::thread_pool> pool;
    static std::shared_ptr<spdlog::async_logger> logger;
    if (state.thread_index() == 0) {
        pool = std::make_shared<spdlog::details::thread_pool>(8192, 1);
        logger =
            std::make_shared<spdlog::async_logger>("async", std::make_shared<spdlog::sinks::null_sink_mt>(),
                                                   pool, spdlog::async_overflow_policy::block);
    }
    for (auto _ : veltrane::AllocationCounter(state)) {
        logger->info("connection opened");
    }
    if (state.thread_index() == 0) {
        logger.reset();
        pool.reset();
    }
}
BENCHMARK(spdlogAsyncInfo)->Threads(1)->Threads(2)->Threads(4)->UseRealTime();

// A call below the level of every destination.

void loggingDroppedDebug(benchmark::State& state)
{
    for (int i = 0; i < 2; ++i) {
        auto destination = std::make_shared<DiscardingDestination>();
        destination->minLevel = logging::Level::info;
        logging::Logging::registerDestination(destination);
    }
    for (auto _ : state) {
        LOGGING_DEBUG("connection opened");
    }
    logging::Logging::unregisterAll();
}
BENCHMARK(loggingDroppedDebug);

void spdlogDroppedDebug(benchmark::State& state)
{
    spdlog::logger logger("dropped", std::make_shared<spdlog::sinks::null_sink_mt>());
    logger.set_level(spdlog::level::info);
    for (auto _ : state) {
        logger.debug("connection opened");
    }
}
BENCHMARK(spdlogDroppedDebug);

// Rendering the default line, with the time fixed, advancing 1 ms, or a new second every line.

const std::chrono::system_clock::time_point start =
    std::chrono::sys_days{std::chrono::year{2024} / 3 / 10} + 14h;

void loggingRenderLine(benchmark::State& state)
{
    const std::chrono::milliseconds step{state.range(0)};
    logging::BaseDestination destination;
    auto now = start;
    destination.timeSource = [&] { return now; };
    const std::string message = "connection opened";
    const std::string thread;
    const std::string file = "/work/main/src/app/AppDelegate.cpp";
    const std::string function = "applicationDidFinishLaunching()";
    for (auto _ : state) {
        benchmark::DoNotOptimize(destination.renderLine(destination.format, logging::Level::info, message,
                                                        thread, file, function, 42, std::nullopt));
        now += step;
    }
}
BENCHMARK(loggingRenderLine)->Arg(0)->Arg(1)->Arg(1000);

void spdlogRenderLine(benchmark::State& state)
{
    const std::chrono::milliseconds step{state.range(0)};
    spdlog::pattern_formatter formatter("%H:%M:%S.%e %l %s.%!:%# - %v");
    spdlog::details::log_msg message(
        spdlog::source_loc{"/work/main/src/app/AppDelegate.cpp", 42, "applicationDidFinishLaunching"},
        "bench", spdlog::level::info, "connection opened");
    message.time = start;
    spdlog::memory_buf_t line;
    for (auto _ : state) {
        line.clear();
        formatter.format(message, line);
        benchmark::DoNotOptimize(line.data());
        message.time += step;
    }
}
BENCHMARK(spdlogRenderLine)->Arg(0)->Arg(1)->Arg(1000);

// Writing lines to a file: ours opens, appends and closes for each line.

void loggingFileLines(benchmark::State& state)
{
    const auto path = benchFile("logging-bench");
    logging::FileDestination destination(path);
    const std::string message = "connection opened";
    const std::string empty;
    const std::string file = "/work/main/src/app/AppDelegate.cpp";
    const std::string function = "applicationDidFinishLaunching()";
    for (auto _ : state) {
        destination.emit(logging::Level::info, message, empty, file, function, 42, std::nullopt);
    }
    state.SetItemsProcessed(state.iterations());
    std::filesystem::remove(path);
}
BENCHMARK(loggingFileLines)->UseRealTime();

void spdlogFileLines(benchmark::State& state)
{
    const auto path = benchFile("spdlog-bench");
    {
        spdlog::logger logger("file",
                              std::make_shared<spdlog::sinks::basic_file_sink_st>(path.string(), true));
        logger.set_pattern("%H:%M:%S.%e %l %s.%!:%# - %v");
        for (auto _ : state) {
            logger.info("connection opened");
        }
        logger.flush();
    }
    state.SetItemsProcessed(state.iterations());
    std::filesystem::remove(path);
}
BENCHMARK(spdlogFileLines)->UseRealTime();

}  // namespace
