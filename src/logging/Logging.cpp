#include "logging/Logging.h"

#include "logging/BundleInfo.h"
#include "logging/ConsoleDestination.h"
#include "logging/Directories.h"
#include "logging/FileDestination.h"
#include "logging/Registry.h"
#include "logging/ThreadName.h"
#include "logging/WindowDestination.h"

#include <mutex>
#include <utility>

namespace logging {

namespace {

struct WindowFactory {
    std::mutex mutex;
    LogWindowFactory make;
};

WindowFactory& windowFactory()
{
    static WindowFactory shared;
    return shared;
}

// A new file destination for the location, replacing the file a previous run left there.
std::shared_ptr<FileDestination> freshFileDestination(const std::filesystem::path& location)
{
    std::error_code ignored;
    std::filesystem::remove(location, ignored);
    return std::make_shared<FileDestination>(location);
}

}  // namespace

bool Logging::registerDestination(std::shared_ptr<BaseDestination> destination)
{
    return destination && Registry::shared().add(std::move(destination));
}

bool Logging::unregisterDestination(const std::shared_ptr<BaseDestination>& destination)
{
    return Registry::shared().removeIf(
               [&](const BaseDestination& candidate) { return &candidate == destination.get(); }) > 0;
}

void Logging::unregisterAll()
{
    Registry::shared().removeIf([](const BaseDestination&) { return true; });
}

std::size_t Logging::destinationCount()
{
    return Registry::shared().snapshot()->size();
}

void Logging::flush()
{
    Registry::shared().flush();
}

void Logging::dispatch(Level level, const DeferredMessage& message, std::string_view file,
                       std::string_view function, int line, bool lasting, const Context& context)
{
    const Registry::Reading reading(Registry::shared());
    std::optional<LogMessage> produced;
    std::optional<std::string_view> text;  // known once a filter needed it or a destination took the call
    std::optional<std::string_view> thread;
    for (const auto& destination : reading.destinations()) {
        if (!destination->hasQueue()) {
            continue;
        }
        if (!text && destination->needsMessageText()) {
            text = produced.emplace(message()).text();
        }
        if (!destination->accepts(level, file, function, text)) {
            continue;
        }
        if (!text) {
            text = produced.emplace(message()).text();
        }
        if (!thread) {
            thread = ThreadName::current();
        }
        destination->take({level, *text, *thread, file, function, line, lasting, context});
    }
}

std::optional<std::filesystem::path> Logging::supportDirectory()
{
    return Directories::applicationSupport();
}

void Logging::showLogWindows()
{
    LogWindowFactory factory;
    {
        auto& shared = windowFactory();
        const std::lock_guard lock(shared.mutex);
        factory = shared.make;
    }
    for (const auto& destination : *Registry::shared().snapshot()) {
        if (auto* window = dynamic_cast<WindowDestination*>(destination.get())) {
            window->showWindow(factory);
        }
    }
}

void Logging::setLogWindowFactory(LogWindowFactory factory)
{
    auto& shared = windowFactory();
    const std::lock_guard lock(shared.mutex);
    shared.make = std::move(factory);
}

void Logging::setMinLevelEverywhere(Level level)
{
    for (const auto& destination : *Registry::shared().snapshot()) {
        destination->minLevel = level;
    }
}

void Logging::removeFileDestinations()
{
    Registry::shared().removeIf([](const BaseDestination& destination) {
        return dynamic_cast<const FileDestination*>(&destination);
    });
}

void Logging::zorvDefaults(bool logToFile, std::optional<Level> minLevel)
{
    unregisterAll();
    if (logToFile) {
        addDefaultFileDestination(minLevel.value_or(Level::debug));
    }
    auto window = std::make_shared<WindowDestination>();
    if (minLevel) {
        window->minLevel = *minLevel;
    }
    registerDestination(window);
    logBuild("zorvDefaults(logToFile:minLevel:)", 198);
}

void Logging::addDefaultFileDestination(Level minLevel)
{
    auto name = BundleInfo::string("CFBundleDisplayName");
    if (!name) {
        name = BundleInfo::string("CFBundleName");
    }
    const auto support = supportDirectory();
    if (!name || !support) {
        return;
    }
    auto file = freshFileDestination(*support / *name / (*name + ".log"));
    file->minLevel = minLevel;
    registerDestination(file);
}

void Logging::zorvHelperDefaults(bool logToFile, std::string mainAppIdentifier, std::string appName)
{
    auto console = std::make_shared<ConsoleDestination>();
    console->useMacConsole = true;
    console->setBundleId(std::move(mainAppIdentifier));
    registerDestination(console);
    const auto support = supportDirectory();
    if (logToFile && support) {
        registerDestination(freshFileDestination(*support / appName / (appName + "Helper.log")));
    }
    logBuild("zorvHelperDefaults(logToFile:mainAppIdentifier:appName:)", 242);
}

void Logging::logBuild(std::string_view function, int line)
{
    if (const auto version = BundleInfo::string("CFBundleVersion")) {
        std::string message = "build ";
        message += *version;
        info(std::move(message), __FILE__, function, line);
    }
}

void Logging::setSystemLog(veltrane::platform::SystemLog* systemLog)
{
    ConsoleDestination::setDefaultSystemLog(systemLog);
}

}  // namespace logging
