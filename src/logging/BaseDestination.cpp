#include "logging/BaseDestination.h"

#include "logging/QueueLabel.h"
#include "logging/StandardOutput.h"
#include "logging/UnicodeText.h"
#include "logging/filters/FilterValidator.h"
#include "platform/threads/SerialQueue.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <utility>

namespace logging {

namespace {

// The last "/"-separated component of a path.
std::string_view lastComponent(std::string_view file)
{
    const auto slash = file.rfind('/');
    return slash == std::string_view::npos ? file : file.substr(slash + 1);
}

std::string_view withoutExtension(std::string_view name)
{
    return name.substr(0, name.find('.'));
}

// Inlined into every token's case: most groups have no padding, and a line has many groups.
[[gnu::always_inline]] inline void appendText(std::string& out, std::string_view text, int padding)
{
    if (padding == 0) [[likely]] {
        out.append(text);
    } else {
        UnicodeText::appendPadded(out, text, padding);
    }
}

}  // namespace

BaseDestination::BaseDestination()
    : startDate(timeSource()), queue(std::make_unique<veltrane::threads::SerialQueue>(QueueLabel::make()))
{
}

BaseDestination::~BaseDestination()
{
    // Tasks still queued without holding the destination finish before its members go.
    queue.reset();
}

std::optional<std::string> BaseDestination::emit(Level level, std::string_view message,
                                                 std::string_view thread, std::string_view file,
                                                 std::string_view function, int line, const Context& context)
{
    if (format.starts_with("$J")) {
        return renderJSON(level, message, thread, file, function, line, context);
    }
    return renderLine(format, level, message, thread, file, function, line, context);
}

void BaseDestination::runOnQueue(bool synchronously, std::function<void()> block)
{
    if (!queue) {
        throw std::logic_error("Queue not set");
    }
    if (synchronously) {
        queue->sync(block);
    } else {
        queue->async(std::move(block));
    }
}

void BaseDestination::take(const LogRecord::Call& call)
{
    if (!asynchronously.load()) {
        LogRecord record;
        record.assign(call);
        runOnQueue(true, [&] { record.emitTo(*this); });
        return;
    }
    switch (lines_.push(call)) {
    case LineQueue::Pushed::queued:
        return;
    case LineQueue::Pushed::needsDrain:
        queue->async([self = shared_from_this()] { self->lines_.drain(*self); });
        return;
    case LineQueue::Pushed::full:
        bypass(call);
        return;
    }
}

// Behind the drain that empties the ring, so that the line keeps its place after those in it.
void BaseDestination::bypass(const LogRecord::Call& call)
{
    auto record = std::make_shared<LogRecord>();
    record->assign(call);
    lines_.bypassBegun();
    queue->async([self = shared_from_this(), record] {
        record->emitTo(*self);
        self->lines_.bypassEnded();
    });
}

std::string BaseDestination::renderLine(const std::string& lineFormat, Level level, std::string_view message,
                                        std::string_view thread, std::string_view file,
                                        std::string_view function, int line, const Context& context)
{
    if (!lineFormat_ || lineFormat_->source() != lineFormat) {
        lineFormat_.emplace(lineFormat);
    }
    const LogRecord::Call call{level, message, thread, file, function, line, true, context};
    std::string out;
    out.reserve(lineFormat.size() + message.size() + file.size() + 32);
    for (const auto& piece : lineFormat_->pieces()) {
        appendPiece(out, piece, call);
    }
    UnicodeText::trimTrailingSpace(out);
    return out;
}

void BaseDestination::appendPiece(std::string& out, const LineFormat::Piece& piece,
                                  const LogRecord::Call& call)
{
    const auto padded = [&](std::string_view text) { appendText(out, text, piece.padding); };
    switch (piece.token) {
    case 'L':
        padded(levelLabel(call.level));
        break;
    case 'M':
        padded(call.message);
        break;
    case 'T':
        padded(call.thread);
        break;
    case 'N':
        padded(withoutExtension(lastComponent(call.file)));
        break;
    case 'n':
        padded(lastComponent(call.file));
        break;
    case 'F':
        padded(call.function);
        break;
    case 'l': {
        std::array<char, 16> digits{};
        padded({digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), call.line).ptr});
        break;
    }
    case 'D':
    case 'Z':
        // The rest of a date group is its pattern, not text.
        padded(renderDate(piece.rest, piece.token == 'Z' ? "UTC" : ""));
        return;
    case 'U':
        padded(uptimeText());
        break;
    case 'C':
        out += escape;
        out += levelColorCode(call.level);
        break;
    case 'c':
        out += reset;
        break;
    case 'X':
        padded(UnicodeText::trimmed(contextText(call.context)));
        break;
    default:
        break;
    }
    out += piece.rest;
}

std::string BaseDestination::contextText(const Context& context) const
{
    if (!context) {
        return {};
    }
    if (context->is_string()) {
        return context->get<std::string>();
    }
    return context->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<std::string> BaseDestination::renderJSON(Level level, std::string_view message,
                                                       std::string_view thread, std::string_view file,
                                                       std::string_view function, int line,
                                                       const Context& context)
{
    const std::chrono::duration<double> timestamp = timeSource().time_since_epoch();
    nlohmann::json object = {{"timestamp", timestamp.count()},
                             {"level", static_cast<int>(level)},
                             {"message", message},
                             {"thread", thread},
                             {"file", file},
                             {"function", function},
                             {"line", line}};
    if (context) {
        object["context"] = *context;
    }
    try {
        return object.dump();
    } catch (const nlohmann::json::exception&) {
        StandardOutput::printLine("Logging could not create JSON from dict.");
        return std::nullopt;
    }
}

const std::string& BaseDestination::levelLabel(Level level) const
{
    return levelString.at(level);
}

const std::string& BaseDestination::levelColorCode(Level level) const
{
    return levelColor.at(level);
}

std::string BaseDestination::renderDate(std::string_view dateFormat, std::string_view timeZone)
{
    if (!timeZone.empty()) {
        formatter_.setTimeZone(timeZone);
    }
    return formatter_.format(dateFormat, timeSource());
}

std::string BaseDestination::uptimeText() const
{
    using std::chrono::duration_cast;
    const auto elapsed = timeSource() - startDate;
    const auto seconds = duration_cast<std::chrono::seconds>(elapsed).count();
    const auto hours = seconds / 3600;
    const auto minutes = seconds / 60 - hours * 60;
    const auto milliseconds = duration_cast<std::chrono::milliseconds>(elapsed).count() % 1000;
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%.2lld:%.2lld:%.2lld.%03lld", static_cast<long long>(hours),
                  static_cast<long long>(minutes), static_cast<long long>(seconds - (seconds / 60) * 60),
                  static_cast<long long>(milliseconds));
    return text.data();
}

void BaseDestination::addFilter(std::shared_ptr<FilterType> filter)
{
    filters_.push_back(std::move(filter));
    LevelGate::invalidate();
}

void BaseDestination::removeFilter(const std::shared_ptr<FilterType>& filter)
{
    const auto found = std::find(filters_.begin(), filters_.end(), filter);
    if (found != filters_.end()) {
        filters_.erase(found);
        LevelGate::invalidate();
    }
}

bool BaseDestination::needsMessageText() const
{
    return std::any_of(filters_.begin(), filters_.end(),
                       [](const auto& filter) { return filter->target().kind == TargetType::Kind::message; });
}

bool BaseDestination::accepts(Level level, std::string_view path, std::string_view function,
                              std::optional<std::string_view> message) const
{
    if (filters_.empty()) {
        const bool accepted = acceptsByLevel(level);
        if (debugPrint) {
            StandardOutput::printLine(accepted ? "filters are empty and level >= minLevel"
                                               : "filters are empty and level < minLevel");
        }
        return accepted;
    }
    return decide(level, path, function, message);
}

// The groups decide in turn: excluded, then required, then non-required; the level decides last.
bool BaseDestination::decide(Level level, std::string_view path, std::string_view function,
                             std::optional<std::string_view> message) const
{
    using Kind = Result::Kind;
    const auto results = FilterValidator::validate(filters_, level, path, function, message);
    if (FilterValidator::result(results, ValidationType::excluded).kind == Kind::someFiltersMatch) {
        if (debugPrint) {
            StandardOutput::printLine("filters are not empty and message was excluded");
        }
        return false;
    }
    const auto& required = FilterValidator::result(results, ValidationType::required);
    if (required.kind != Kind::noFiltersMatchingType) {
        return required.kind == Kind::allFiltersMatch;
    }
    const auto& nonRequired = FilterValidator::result(results, ValidationType::nonRequired);
    if (nonRequired.kind == Kind::allFiltersMatch || nonRequired.partialMatch.fullMatchCount >= 1) {
        return true;
    }
    if (nonRequired.kind == Kind::someFiltersMatch && nonRequired.partialMatch.conditionMatchCount >= 1) {
        return false;
    }
    return acceptsByLevel(level);
}

bool BaseDestination::acceptsByLevel(Level level) const
{
    return minLevel.load() <= level;
}

void BaseDestination::applyTerminalColors(bool on, const LevelTexts& colorsWhenOff)
{
    if (on) {
        reset = "\x1B[0m";
        escape = "\x1B[38;5;";
        levelColor = {"251m", "35m", "38m", "178m", "197m"};
    } else {
        reset.clear();
        escape.clear();
        levelColor = colorsWhenOff;
    }
}

}  // namespace logging
