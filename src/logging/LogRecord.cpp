#include "logging/LogRecord.h"

#include "logging/BaseDestination.h"

#include <algorithm>

namespace logging {

namespace {

constexpr std::string_view parentheses = "()";

// "start(with:)" and "start" both become "start()".
std::string_view functionName(std::string_view function)
{
    return function.substr(0, function.find('('));
}

}  // namespace

void LogRecord::assign(const Call& call) noexcept
{
    empty_ = true;
    try {
        copyTexts(call);
        context_ = call.context;
    } catch (...) {
        return;
    }
    level_ = call.level;
    line_ = call.line;
    empty_ = false;
}

void LogRecord::copyTexts(const Call& call)
{
    const auto name = functionName(call.function);
    messageLength_ = call.message.size();
    threadLength_ = call.thread.size();
    functionLength_ = name.size() + parentheses.size();
    const std::size_t ownFile = call.lasting ? 0 : call.file.size();
    const std::size_t size = messageLength_ + threadLength_ + functionLength_ + ownFile;
    char* out = inline_.data();
    if (size > inline_.size()) {
        spilled_.resize(size);
        out = spilled_.data();
    }
    texts_ = out;
    for (const auto piece : {call.message, call.thread, name, parentheses}) {
        out = std::copy(piece.begin(), piece.end(), out);
    }
    file_ = call.file;
    if (!call.lasting) {
        std::copy(call.file.begin(), call.file.end(), out);
        file_ = std::string_view(out, ownFile);
    }
}

std::string_view LogRecord::text(std::size_t offset, std::size_t length) const
{
    return {texts_ + offset, length};
}

void LogRecord::emitTo(BaseDestination& destination) const noexcept
{
    if (empty_) {
        return;
    }
    try {
        destination.emit(level_, text(0, messageLength_), text(messageLength_, threadLength_), file_,
                         text(messageLength_ + threadLength_, functionLength_), line_, context_);
    } catch (...) {
        // The line is lost; there is no one to report to but the log itself.
    }
}

}  // namespace logging
