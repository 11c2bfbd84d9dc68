#pragma once

#include "logging/Context.h"
#include "logging/DateFormatter.h"
#include "logging/Level.h"
#include "logging/LevelSetting.h"
#include "logging/LevelTexts.h"
#include "logging/LineFormat.h"
#include "logging/LineQueue.h"
#include "logging/LogRecord.h"
#include "logging/Time.h"
#include "logging/filters/FilterType.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace veltrane::threads {
class SerialQueue;
}

namespace logging {

// The base of every destination: its settings, its serial queue, the level and filter decision, the
// line format and the JSON form. Subclasses override emit() to put the text somewhere.
//
// Settings are set up before the destination takes calls; minLevel and asynchronously may also be
// changed while other threads log. The facade hands calls only to destinations owned by shared
// pointers, which the queued calls keep alive.
class BaseDestination : public std::enable_shared_from_this<BaseDestination> {
public:
    using Filters = std::vector<std::shared_ptr<FilterType>>;

    BaseDestination();
    virtual ~BaseDestination();
    BaseDestination(const BaseDestination&) = delete;
    BaseDestination& operator=(const BaseDestination&) = delete;

    std::string format = "$DHH:mm:ss.SSS$d $C$L$c $N.$F:$l - $M";
    std::atomic<bool> asynchronously{true};
    LevelSetting minLevel{Level::verbose};
    LevelTexts levelString{"VERBOSE", "DEBUG", "INFO", "WARNING", "ERROR"};
    LevelTexts levelColor;
    std::string reset;        // written by the "c" token
    std::string escape;       // written before the colour by the "C" token
    bool debugPrint = false;  // the filter decision prints its reason
    // Dates, uptimes and JSON timestamps read the time here.
    TimeSource timeSource = [] { return std::chrono::system_clock::now(); };
    TimePoint startDate;

    // The produced text, or nothing; writes nowhere. JSON when the format starts with "$J".
    virtual std::optional<std::string> emit(Level level, std::string_view message, std::string_view thread,
                                            std::string_view file, std::string_view function, int line,
                                            const Context& context);
    // Emits the call on the destination's queue, at once when not asynchronous. Never waits for an
    // asynchronous destination, however slow: a key must not wait for its log line.
    void take(const LogRecord::Call& call);

    // Runs the block on the destination's queue; throws std::logic_error without a queue.
    void runOnQueue(bool synchronously, std::function<void()> block);
    template <typename Block> std::invoke_result_t<Block&> runOnQueueAndWait(Block block);
    bool hasQueue() const { return queue != nullptr; }

    virtual std::string renderLine(const std::string& lineFormat, Level level, std::string_view message,
                                   std::string_view thread, std::string_view file, std::string_view function,
                                   int line, const Context& context);
    virtual std::optional<std::string> renderJSON(Level level, std::string_view message,
                                                  std::string_view thread, std::string_view file,
                                                  std::string_view function, int line,
                                                  const Context& context);
    virtual const std::string& levelLabel(Level level) const;
    virtual const std::string& levelColorCode(Level level) const;
    // The current time in the date pattern; a non-empty zone abbreviation first sets the formatter's
    // zone, which it keeps for later dates.
    virtual std::string renderDate(std::string_view dateFormat, std::string_view timeZone);
    // The time since startDate as hours:minutes:seconds.milliseconds.
    virtual std::string uptimeText() const;

    virtual void addFilter(std::shared_ptr<FilterType> filter);
    // Removes the first filter that is the same object, if any.
    virtual void removeFilter(const std::shared_ptr<FilterType>& filter);
    const Filters& filters() const { return filters_; }
    virtual bool needsMessageText() const;
    // Whether the destination takes the call; the message is absent when no filter needs it. Below
    // minLevel only a filter may let a call through: the facade drops calls that are below every
    // destination's minimum level and that no filter could take, without asking.
    virtual bool accepts(Level level, std::string_view path, std::string_view function,
                         std::optional<std::string_view> message) const;

    // Destinations compare by identity; a hash may only mix in this seed.
    virtual int hashSeed() const { return 0; }

protected:
    // Switches the 256-colour terminal codes on, or off with these colours.
    void applyTerminalColors(bool on, const LevelTexts& colorsWhenOff);
    bool acceptsByLevel(Level level) const;

    // Subclasses may run without a queue; the facade then skips them.
    std::unique_ptr<veltrane::threads::SerialQueue> queue;

private:
    void bypass(const LogRecord::Call& call);
    void appendPiece(std::string& out, const LineFormat::Piece& piece, const LogRecord::Call& call);
    std::string contextText(const Context& context) const;
    bool decide(Level level, std::string_view path, std::string_view function,
                std::optional<std::string_view> message) const;

    DateFormatter formatter_;
    std::optional<LineFormat> lineFormat_;
    Filters filters_;
    LineQueue lines_;
};

template <typename Block> std::invoke_result_t<Block&> BaseDestination::runOnQueueAndWait(Block block)
{
    using Value = std::invoke_result_t<Block&>;
    if constexpr (std::is_void_v<Value>) {
        runOnQueue(true, block);
    } else {
        std::optional<Value> value;
        runOnQueue(true, [&] { value.emplace(block()); });
        return std::move(*value);
    }
}

}  // namespace logging
