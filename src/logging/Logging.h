#pragma once

#include "logging/BaseDestination.h"
#include "logging/CallSite.h"
#include "logging/Context.h"
#include "logging/DeferredMessage.h"
#include "logging/Level.h"
#include "logging/LevelGate.h"
#include "logging/LogWindow.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace veltrane::platform {
class SystemLog;
}

namespace logging {

// The library's entry point: one process-wide registry of destinations, the log calls and the
// presets. A call evaluates its message at most once, and only when a destination takes it or a
// message filter needs it; each destination's emit runs on that destination's own queue.
// Log calls may come from any thread; registering belongs to set-up.
class Logging {
public:
    Logging() = delete;

    static bool registerDestination(std::shared_ptr<BaseDestination> destination);
    static bool unregisterDestination(const std::shared_ptr<BaseDestination>& destination);
    static void unregisterAll();
    static std::size_t destinationCount();
    // Waits until every registered destination has handled the calls made before, for example
    // before the process ends or a test reads what was written.
    static void flush();

    // The message is a value, or a callable that produces it when needed.
    template <typename Message>
    static void log(Level level, Message&& message, std::string_view file, std::string_view function,
                    int line, const Context& context = std::nullopt)
    {
        logCall(level, message, file, function, line, false, context);
    }
    // The form the logging macros use: the call site's texts are literals and are not copied.
    template <typename Message>
    static void log(Level level, Message&& message, CallSite site, const Context& context = std::nullopt)
    {
        logCall(level, message, site.file, site.function, site.line, true, context);
    }
    template <typename Message>
    static void verbose(Message&& message, std::string_view file, std::string_view function, int line,
                        const Context& context = std::nullopt)
    {
        log(Level::verbose, std::forward<Message>(message), file, function, line, context);
    }
    template <typename Message>
    static void debug(Message&& message, std::string_view file, std::string_view function, int line,
                      const Context& context = std::nullopt)
    {
        log(Level::debug, std::forward<Message>(message), file, function, line, context);
    }
    template <typename Message>
    static void info(Message&& message, std::string_view file, std::string_view function, int line,
                     const Context& context = std::nullopt)
    {
        log(Level::info, std::forward<Message>(message), file, function, line, context);
    }
    template <typename Message>
    static void warning(Message&& message, std::string_view file, std::string_view function, int line,
                        const Context& context = std::nullopt)
    {
        log(Level::warning, std::forward<Message>(message), file, function, line, context);
    }
    template <typename Message>
    static void error(Message&& message, std::string_view file, std::string_view function, int line,
                      const Context& context = std::nullopt)
    {
        log(Level::error, std::forward<Message>(message), file, function, line, context);
    }

    // The user's application support folder ($XDG_DATA_HOME or ~/.local/share).
    static std::optional<std::filesystem::path> supportDirectory();
    // Shows the window of every registered window destination, made by the shell's factory.
    static void showLogWindows();
    static void setLogWindowFactory(LogWindowFactory factory);
    static void setMinLevelEverywhere(Level level);
    static void removeFileDestinations();

    // The main application's set-up: a window destination, and a file destination when asked.
    static void zorvDefaults(bool logToFile, std::optional<Level> minLevel);
    static void addDefaultFileDestination(Level minLevel);
    // A helper application's set-up: the unified log under the main application's name, and a file.
    static void zorvHelperDefaults(bool logToFile, std::string mainAppIdentifier, std::string appName);

    // The unified log that console destinations write to; nullptr for none.
    static void setSystemLog(veltrane::platform::SystemLog* systemLog);

private:
    template <typename Message>
    static void logCall(Level level, Message& message, std::string_view file, std::string_view function,
                        int line, bool lasting, const Context& context);
    static void dispatch(Level level, const DeferredMessage& message, std::string_view file,
                         std::string_view function, int line, bool lasting, const Context& context);
    static void logBuild(std::string_view function, int line);
};

template <typename Message>
void Logging::logCall(Level level, Message& message, std::string_view file, std::string_view function,
                      int line, bool lasting, const Context& context)
{
    if (!LevelGate::admits(level)) {
        return;
    }
    if constexpr (std::is_invocable_v<Message&>) {
        dispatch(level, DeferredMessage(message), file, function, line, lasting, context);
    } else {
        auto produce = [&message]() -> decltype(auto) { return (message); };
        dispatch(level, DeferredMessage(produce), file, function, line, lasting, context);
    }
}

}  // namespace logging
