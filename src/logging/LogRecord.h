#pragma once

#include "logging/Context.h"
#include "logging/Level.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace logging {

class BaseDestination;

// One log call waiting for a destination's emit. Its texts are copied into a buffer of its own, so
// a record that is reused for call after call allocates only for texts longer than the buffer.
class LogRecord {
public:
    // A call as the facade hands it over; the views last only as long as the call.
    struct Call {
        Level level;
        std::string_view message;
        std::string_view thread;
        std::string_view file;
        std::string_view function;
        int line;
        // The file's text is a literal, which the record keeps without copying.
        bool lasting;
        const Context& context;
    };

    LogRecord() = default;
    // Its texts point into itself.
    LogRecord(const LogRecord&) = delete;
    LogRecord& operator=(const LogRecord&) = delete;

    // Takes the call in place of the one held before. A record that could not take it (out of
    // memory) is left empty, and emits nothing.
    void assign(const Call& call) noexcept;
    // Runs the destination's emit; a failing destination must not take the caller or its queue down.
    void emitTo(BaseDestination& destination) const noexcept;

private:
    static constexpr std::size_t inlineSize = 256;

    void copyTexts(const Call& call);
    std::string_view text(std::size_t offset, std::size_t length) const;

    bool empty_ = true;
    Level level_ = Level::verbose;
    int line_ = 0;
    // Message, thread and function name, then the file when it is not a literal, one after another.
    std::size_t messageLength_ = 0;
    std::size_t threadLength_ = 0;
    std::size_t functionLength_ = 0;
    std::string_view file_;
    const char* texts_ = nullptr;
    std::array<char, inlineSize> inline_;
    std::string spilled_;
    Context context_;
};

}  // namespace logging
