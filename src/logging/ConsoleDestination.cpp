#include "logging/ConsoleDestination.h"

#include "logging/BundleInfo.h"
#include "logging/StandardOutput.h"
#include "platform/SystemLog.h"

#include <syslog.h>

#include <algorithm>
#include <utility>

namespace logging {

namespace {

veltrane::platform::SystemLogLevel systemLogLevel(Level level)
{
    using veltrane::platform::SystemLogLevel;
    switch (level) {
    case Level::verbose:
    case Level::debug:
        return SystemLogLevel::debug;
    case Level::info:
    case Level::warning:
        return SystemLogLevel::info;
    case Level::error:
        break;
    }
    return SystemLogLevel::error;
}

}  // namespace

ConsoleDestination::ConsoleDestination(veltrane::platform::SystemLog* systemLog)
    : loggableBundleId(loggable(BundleInfo::string("CFBundleIdentifier").value_or(""))), systemLog_(systemLog)
{
    levelColor = squares();
}

veltrane::platform::SystemLog* ConsoleDestination::defaultSystemLog()
{
    return defaultSystemLog_.load();
}

void ConsoleDestination::setDefaultSystemLog(veltrane::platform::SystemLog* systemLog)
{
    defaultSystemLog_.store(systemLog);
}

void ConsoleDestination::setBundleId(std::string bundleId)
{
    bundleId_ = std::move(bundleId);
    loggableBundleId = loggable(bundleId_);
}

void ConsoleDestination::setUseTerminalColors(bool on)
{
    terminalColors_ = on;
    applyTerminalColors(on, squares());
}

std::optional<std::string> ConsoleDestination::emit(Level level, std::string_view message,
                                                    std::string_view thread, std::string_view file,
                                                    std::string_view function, int line,
                                                    const Context& context)
{
    auto text = BaseDestination::emit(level, message, thread, file, function, line, context);
    if (text) {
        output(level, *text);
    }
    return text;
}

// Without a unified log to write to, a line goes to the next place rather than nowhere.
void ConsoleDestination::output(Level level, const std::string& text) const
{
    if (useMacConsole && systemLog_ != nullptr) {
        std::string line = loggableBundleId;
        line += text;
        systemLog_->write(systemLogLevel(level), line);
    } else if (useNSLog) {
        syslog(LOG_NOTICE, "%s", text.c_str());
    } else {
        StandardOutput::printLine(text);
    }
}

std::string ConsoleDestination::loggable(std::string_view identifier)
{
    if (identifier.empty()) {
        return {};
    }
    std::string name(identifier);
    std::replace(name.begin(), name.end(), '.', '-');
    name += ' ';
    return name;
}

const LevelTexts& ConsoleDestination::squares()
{
    static const LevelTexts colors{"🟪 ", "🟩 ", "🟦 ", "🟨 ", "🟥 "};
    return colors;
}

}  // namespace logging
