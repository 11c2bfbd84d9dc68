#include "logging/LogRecord.h"

#include "logging/BaseDestination.h"

#include <utility>

namespace logging {

namespace {

// "start(with:)" and "start" both become "start()".
std::string shortened(std::string_view function)
{
    std::string name(function.substr(0, function.find('(')));
    name += "()";
    return name;
}

}  // namespace

LogRecord* LogRecord::make(Level level, Texts texts, bool lasting, int line, const Context& context,
                           Registry::Snapshot destinations)
{
    return new LogRecord(level, std::move(texts), lasting, line, context, std::move(destinations));
}

LogRecord::LogRecord(Level level, Texts texts, bool lasting, int line, const Context& context,
                     Registry::Snapshot destinations)
    : level_(level), texts_(std::move(texts)), line_(line), context_(context),
      destinations_(std::move(destinations))
{
    if (!lasting) {
        ownedFile_ = texts_.file;
        ownedFunction_ = texts_.function;
        texts_.file = ownedFile_;
        texts_.function = ownedFunction_;
    }
}

void LogRecord::release()
{
    if (references_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete this;
    }
}

void LogRecord::emitTo(BaseDestination& destination) const noexcept
{
    try {
        destination.emit(level_, texts_.message, texts_.thread, std::string(texts_.file),
                         shortened(texts_.function), line_, context_);
    } catch (...) {
        // The line is lost; there is no one to report to but the log itself.
    }
}

}  // namespace logging
